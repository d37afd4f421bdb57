// Scene files written for the listing and hostile-scene checks, each with a
// known number of instances of one plug-in: long lists, deep hierarchies,
// deep layer shaders and damaged links.
#pragma once

#include <cstdint>
#include <string>

#include "dialog_contract.h"

namespace validator {

// The plug-in whose instances the scenes hold.
inline constexpr int32_t scenePluginId = 1234567;

// count instances of kind side by side: objects with a tag each, instance
// objects, materials with an instance shader in channel 0, or video posts of
// the active render settings. Instance i is listed as flatRowName(kind, i).
std::string flatScene(PluginType kind, int64_t count);
std::string flatRowName(PluginType kind, int64_t index);

// A hierarchy depth objects deep: each object carries a tag instance
// (objectInstances false) or is an instance itself (true).
std::string chainScene(int64_t depth, bool objectInstances);

// count objects in a tree of fan-out 8, each with a tag instance.
std::string treeOfTagsScene(int64_t count);

// A layer shader in channel 0 holding an instance and the next layer shader,
// depth levels deep: depth instances, all inside layer shaders.
std::string nestedLayersScene(int64_t depth);

// Shaders below shaders, depth levels deep: an object owns a chain of
// instances, each holding the next; or (throughLayerShaders) a tag owns a
// chain of layer shaders, each linking an instance from a layer and holding
// the next one unlinked. depth instances either way, all inside layer
// shaders in the second.
std::string nestedShadersScene(int64_t depth, bool throughLayerShaders);

// copies materials with null links, layers that link nothing, reflectance
// shaders owned by another material or by none. Its instances, and those of
// them inside layer shaders:
int64_t damagedLinksInstances(int64_t copies);
int64_t damagedLinksInLayerShaders(int64_t copies);
std::string damagedLinksScene(int64_t copies);

}  // namespace validator
