// Which selected entries a scoped walk starts from: pure planning over the
// host's selection list and the objects' parents.
#include "search_selection.h"

#include <algorithm>

#include "host/element_map.h"

namespace {

// Which entries of a list of scene elements lie below other entries: a
// selection may hold an object and its descendant.
constexpr int32_t noAncestor = INT32_MAX;

// For each entry, the smallest index i of a candidate that is its ancestor
// (through host::parent), or noAncestor. candidates[i] is entries[i] or null
// (an entry that counts as nobody's ancestor). An entry repeated later counts
// the first candidate occurrence as its ancestor. Every entry must be alive.
// Linear in the entries and their ancestors. False when out of memory.
bool earliestAncestors(const host::Vector<host::Element*>& entries, const host::Vector<host::Element*>& candidates,
                       host::Vector<int32_t>& earliest) {
    earliest.clear();
    ElementMap firstIndex;  // candidate -> index of its first occurrence
    for (int32_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i] == nullptr || firstIndex.find(candidates[i]) != nullptr) continue;
        if (!firstIndex.set(candidates[i], i)) return false;
    }
    const auto indexOf = [&](const host::Element* element) {
        const int32_t* index = firstIndex.find(element);
        return index ? *index : noAncestor;
    };

    // element -> the smallest entry index among its strict ancestors; every
    // element is climbed past once.
    ElementMap above;
    host::Vector<host::Element*> path;
    for (int32_t i = 0; i < entries.size(); ++i) {
        host::Element* entry = entries[i];
        if (entry == nullptr) {
            if (!earliest.push(noAncestor)) return false;
            continue;
        }
        if (above.find(entry) == nullptr) {
            path.clear();
            int32_t carry = noAncestor;  // answer for the parent of path.back()
            for (host::Element* element = entry;;) {
                if (!path.push(element)) return false;
                host::Element* parent = host::parent(element);
                if (parent == nullptr) break;
                if (const int32_t* known = above.find(parent)) {
                    carry = std::min(*known, indexOf(parent));
                    break;
                }
                element = parent;
            }
            for (int32_t k = path.size() - 1; k >= 0; --k) {
                if (!above.set(path[k], carry)) return false;
                carry = std::min(carry, indexOf(path[k]));
            }
        }
        const int32_t first = indexOf(entry);
        if (!earliest.push(std::min(*above.find(entry), first < i ? first : noAncestor))) return false;
    }
    return true;
}

// Which selected objects to skip. Scope 1: one below another selected object,
// whose walk covers it. Scope 2, removing objects: one below a selected
// instance that comes before it, as that removal takes it along.
bool planObjectSelection(Selection& selection, int32_t scope, bool removesObjects, int32_t id) {
    host::Vector<host::Element*> entries;
    host::Vector<host::Element*> candidates;
    for (int32_t i = 0; i < selection.entries.count(); ++i) {
        host::Element* entry = selection.entries.entry(i);
        const bool candidate = scope == 1 || (removesObjects && entry != nullptr && host::typeId(entry) == id);
        if (!entries.push(entry) || !candidates.push(candidate ? entry : nullptr)) return false;
    }
    host::Vector<int32_t> earliest;
    if (!earliestAncestors(entries, candidates, earliest)) return false;
    for (int32_t i = 0; i < earliest.size(); ++i) {
        const bool covered = scope == 1 ? earliest[i] != noAncestor : earliest[i] < i;
        if (!selection.skip.push(covered)) return false;
    }
    return true;
}

}  // namespace

bool selectStarts(Selection& selection, host::Document* document, PluginType type, int32_t scope,
                  const SearchRequest& request) {
    if (type == PluginType::Shader || type == PluginType::Material) {
        if (!host::selectedMaterials(document, selection.entries)) return false;
        for (int32_t i = 0; i < selection.entries.count(); ++i) {
            if (!selection.skip.push(false)) return false;
        }
        return true;
    }
    if (!host::selectedObjects(document, selection.entries, HOST_SELECTION_ALL)) return false;
    const bool takesAlong = type == PluginType::Object && request.action == Action::Remove && !request.keepChildren;
    return planObjectSelection(selection, scope, takesAlong, request.pluginId);
}
