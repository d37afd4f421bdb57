#include "ancestry.h"

#include <algorithm>

#include "element_map.h"

bool earliestAncestors(const host::Vector<host::Element*>& entries,
                       const host::Vector<host::Element*>& candidates, host::Vector<int32_t>& earliest) {
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
