// Undo: each document keeps its history of groups. A deletion step keeps a
// detached deep copy of the element's subtree and its exact place, so undo can
// put a copy back where the element was; redo deletes it again by stable id.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

typedef struct HostElement HostElement;
typedef struct HostDocument HostDocument;

namespace substitute {

enum class ListRole : uint8_t;
class Scene;

// Where an element was: its list, given by role and holder, and the element
// before it. Ids are stable ids; 0 means the document (holder) or the front
// of the list (previous).
struct UndoPlace {
    ListRole role;
    uint64_t holder;
    int32_t channel;
    uint64_t previous;
};

// A detached subtree: not linked, not registered as handles.
struct DetachedTreeDeleter {
    void operator()(HostElement* root) const;
};
using DetachedTree = std::unique_ptr<HostElement, DetachedTreeDeleter>;

struct UndoStep {
    DetachedTree snapshot;
    UndoPlace place;
};

struct UndoGroup {
    std::vector<UndoStep> steps;
};

struct UndoHistory {
    std::vector<UndoGroup> done;
    std::vector<UndoGroup> undone;
    std::optional<UndoGroup> open;
};

// The table entries' work (the element and document are checked by the caller).
void startUndoGroup(HostDocument& document);
void recordDeletion(HostDocument& document, HostElement& element);
void endUndoGroup(HostDocument& document);
// Puts back every element the open group recorded as deleted, last first:
// the element itself when it was only unlinked, a copy of what was recorded
// when it is gone; then closes the group without an entry.
void cancelUndoGroup(Scene& scene, HostDocument& document);

// Reverts / re-applies the last group; false when there is none.
bool undo(Scene& scene, HostDocument& document);
bool redo(Scene& scene, HostDocument& document);

}  // namespace substitute
