#include "checks/object_removal.h"

#include <cmath>

#include "host/host_scene_tables.h"

namespace validator {
namespace {

using substitute::asObject;

ObjectNode nodeOf(const HostElement& object, const ObjectRemoval* removal) {
    ObjectNode node{object.id, object.name, object.type, object.selected, {}, {}, {}};
    for (const HostElement* tag = asObject(object).tags.first; tag != nullptr; tag = tag->next) {
        if (removal != nullptr && removal->removesTag(*tag)) continue;
        node.tags.push_back(tag->id);
        node.tagNames.push_back(tag->name);
    }
    return node;
}

// Appends to into what stays of object and what lies below it.
void keep(const HostElement& object, const ObjectRemoval* removal, ObjectForest& into) {
    const bool removed = removal != nullptr && removal->removesObject(object);
    if (removed && !removal->keepChildren) return;
    ObjectNode node = nodeOf(object, removal);
    for (const HostElement* child = asObject(object).children.first; child != nullptr; child = child->next) {
        keep(*child, removal, node.children);
    }
    if (removed) {
        // Nothing outside R below it: it goes whole.
        if (node.children.empty()) return;
        node.id = 0;
        node.type = HOST_TYPE_NULL_OBJECT;
    }
    into.push_back(std::move(node));
}

ObjectForest forestOf(const HostDocument& document, const ObjectRemoval* removal) {
    ObjectForest forest;
    for (const HostElement* object = document.objects.first; object != nullptr; object = object->next) {
        keep(*object, removal, forest);
    }
    return forest;
}

bool selectedOrBelowSelected(const HostElement& object) {
    for (const HostElement* at = &object; at != nullptr; at = substitute::parentObject(*at)) {
        if (at->selected) return true;
    }
    return false;
}

std::string nodeText(const ObjectNode& node) {
    return "\"" + node.name + "\" [" + std::to_string(node.type) + "]" + (node.selected ? " (selected)" : "") +
           (node.id == 0 ? " (a new Null)" : "");
}

std::string tagsText(const ObjectNode& node) {
    std::string text;
    for (const std::string& name : node.tagNames) text += (text.empty() ? "\"" : ", \"") + name + "\"";
    return text.empty() ? "none" : text;
}

std::string difference(const ObjectForest& expected, const ObjectForest& found,
                       const std::unordered_set<uint64_t>& earlier, const std::string& above) {
    for (size_t i = 0; i < expected.size() || i < found.size(); ++i) {
        const std::string where = (above.empty() ? "at the top" : "below " + above) + ", object " + std::to_string(i);
        if (i >= found.size()) return where + ": expected " + nodeText(expected[i]) + ", found none";
        if (i >= expected.size()) return where + ": expected none, found " + nodeText(found[i]);
        const ObjectNode& want = expected[i];
        const ObjectNode& got = found[i];
        const bool same = want.id != 0 ? got.id == want.id : earlier.count(got.id) == 0;
        if (!same || got.name != want.name || got.type != want.type || got.selected != want.selected) {
            return where + ": expected " + nodeText(want) + ", found " +
                   (same           ? ""
                    : want.id == 0 ? "an earlier object "
                                   : "another object ") +
                   nodeText(got);
        }
        if (got.tags != want.tags) {
            return where + " " + nodeText(got) + ": expected the tags " + tagsText(want) + ", found " + tagsText(got) +
                   (got.tagNames == want.tagNames ? " (other tags of those names)" : "");
        }
        std::string below = difference(want.children, got.children, earlier, above + "/" + got.name);
        if (!below.empty()) return below;
    }
    return {};
}

}  // namespace

std::optional<ObjectRemoval> objectRemovalOf(const substitute::Scene& scene, Action action, PluginType type,
                                             int32_t scope, double idField, bool keepChildren) {
    ObjectRemoval removal;
    removal.keepChildren = keepChildren;
    if (action == Action::RemoveMissing) {
        const auto missing = [&scene](const HostElement& element, int32_t kind) {
            return element.type != 0 && scene.findPlugin(element.type, kind) == nullptr;
        };
        removal.removesObject = [missing](const HostElement& object) {
            return missing(object, HOST_PLUGIN_KIND_OBJECT);
        };
        removal.removesTag = [missing](const HostElement& tag) { return missing(tag, HOST_PLUGIN_KIND_TAG); };
        return removal;
    }
    if (action != Action::Remove || type != PluginType::Object || !std::isfinite(idField)) return std::nullopt;
    const double truncated = std::trunc(idField);
    if (truncated < double(INT32_MIN) || truncated > double(INT32_MAX)) return std::nullopt;
    const auto id = int32_t(truncated);
    // Scope 0 the whole scene, 1 the selection with its children, 2 the selection alone.
    removal.removesObject = [id, scope](const HostElement& object) {
        if (object.type != id) return false;
        return scope == 0 || (scope == 1 ? selectedOrBelowSelected(object) : object.selected);
    };
    removal.removesTag = [](const HostElement&) { return false; };
    return removal;
}

ObjectForest objectForest(const HostDocument& document) { return forestOf(document, nullptr); }

ObjectForest afterRemoval(const HostDocument& document, const ObjectRemoval& removal) {
    return forestOf(document, &removal);
}

std::unordered_set<uint64_t> idsOf(const ObjectForest& forest) {
    std::unordered_set<uint64_t> ids;
    std::vector<const ObjectNode*> pending;
    for (const ObjectNode& node : forest) pending.push_back(&node);
    while (!pending.empty()) {
        const ObjectNode* node = pending.back();
        pending.pop_back();
        ids.insert(node->id);
        ids.insert(node->tags.begin(), node->tags.end());
        for (const ObjectNode& child : node->children) pending.push_back(&child);
    }
    return ids;
}

std::string forestDifference(const ObjectForest& expected, const ObjectForest& found,
                             const std::unordered_set<uint64_t>& earlier) {
    return difference(expected, found, earlier, "");
}

}  // namespace validator
