// What a removal of objects must leave of the object hierarchy, worked out
// apart from the module from the scene before it. Call R the objects the run
// removes. With children kept, an object of R below which an object outside R
// sits becomes a Null in its place (its name and selection, its tags that
// stay, its children that stay and the Nulls of its children, in order); the
// rest of R goes with its subtree. Without, every object of R goes with its
// subtree. So the result depends on R alone, never on the order of a walk.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "dialog_contract.h"
#include "scene/scene.h"

namespace validator {

// An object as a saved scene shows it, named by its stable id.
struct ObjectNode {
    uint64_t id = 0;  // 0: a Null the removal makes
    std::string name;
    int32_t type = 0;
    bool selected = false;
    std::vector<uint64_t> tags;  // stable ids, in order
    std::vector<std::string> tagNames;
    std::vector<ObjectNode> children;
};
using ObjectForest = std::vector<ObjectNode>;

// Which objects (R) and which tags a run removes.
struct ObjectRemoval {
    std::function<bool(const HostElement& object)> removesObject;
    std::function<bool(const HostElement& tag)> removesTag;
    bool keepChildren = true;
};

// The removal of a Process with these controls, made over scene's active
// document: Remove Missing Plugins (every object and tag of a type the
// registry does not know for its kind), or Remove Plugin of objects in a
// scope (no tags); none for any other run, and for an id the field cannot
// give.
std::optional<ObjectRemoval> objectRemovalOf(const substitute::Scene& scene, Action action, PluginType type,
                                             int32_t scope, double idField, bool keepChildren);

// The objects of document as they are, and as removal must leave them.
ObjectForest objectForest(const HostDocument& document);
ObjectForest afterRemoval(const HostDocument& document, const ObjectRemoval& removal);

// The stable ids of every object and tag of forest.
std::unordered_set<uint64_t> idsOf(const ObjectForest& forest);

// "" when found is expected: each object the same element, with the same
// name, type, selection and tags, in the same place; a Null the removal makes
// (id 0) a Null that is none of earlier (ids that existed before the run).
// Else where they first part, by the names of the objects above it.
std::string forestDifference(const ObjectForest& expected, const ObjectForest& found,
                             const std::unordered_set<uint64_t>& earlier);

}  // namespace validator
