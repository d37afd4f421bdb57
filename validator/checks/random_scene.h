// Seeded random scenes as scene-file text: object hierarchies with tags,
// materials with channel shaders, reflectance layers and nested layer
// shaders, render settings with video posts, shaders owned by objects, tags,
// materials and video posts and shaders below shaders, selections and a
// registry.
// Elements take their types from a small pool of plug-in ids mixed with
// ordinary (built-in) types, so every plug-in type has instances in several
// places, and the registry knows some of the ids for some kinds only, so a
// scene holds both missing plug-ins and registered ones. Instances of one
// plug-in nest with objects of ordinary types both ways (instance > kept >
// instance > kept, instance > instance > kept), so that a removal that keeps
// children makes Nulls inside Nulls.
#pragma once

#include <cstdint>
#include <string>

#include "framework/choices.h"

namespace validator {

// The plug-in ids random scenes give their instances: one is also the layer
// shader's type, one an ordinary object type, one negative. The registry
// never knows the first (a plug-in no longer installed) and always knows the
// second as each of the five kinds; the others it knows for random kinds.
inline constexpr int32_t randomPluginIds[] = {1050009, 1234, -7, 5159, 1011123};

struct SceneShape {
    int32_t objects = 12;        // at most this many objects
    int32_t depth = 4;           // object hierarchy levels
    int32_t materials = 3;       // at most
    int32_t layerDepth = 3;      // nesting of layer shaders, and of shaders below shaders
    int32_t renderSettings = 2;  // at most
};

std::string randomScene(Choices& choices, const SceneShape& shape);

// A random scene with the plug-in records of another in place of its own: a
// file that installs, opened alone, what other installs.
std::string withPluginsOf(const std::string& scene, const std::string& other);

// Text as a JSON string literal, quotes included.
std::string jsonString(const std::string& text);

}  // namespace validator
