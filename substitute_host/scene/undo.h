// Undo: each document keeps its history of groups. A deletion step keeps a
// detached deep copy of the element's subtree and its exact place, so undo can
// put a copy back where the element was; redo deletes it again by stable id.
// A new element's step keeps a copy of it as it was inserted and its place,
// so undo takes it out and redo puts the copy back; a moved element's step
// keeps the place it left and the place it went to.
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

enum class UndoKind : uint8_t { Delete, New, Move };

struct UndoStep {
    UndoKind kind;
    uint64_t element;       // stable id
    DetachedTree snapshot;  // Delete: the subtree removed; New: the element as inserted; Move: none
    UndoPlace place;        // Delete, Move: where it was; New: where it was inserted
    // Move: where it went, known once the module makes its next undo request.
    std::optional<UndoPlace> destination;
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
void recordNew(HostDocument& document, HostElement& element);
void recordMove(HostDocument& document, HostElement& element);
void endUndoGroup(HostDocument& document);
// Takes back what the open group recorded, last first: puts back every
// element it recorded as deleted (the element itself when it was only
// unlinked, a copy of what was recorded when it is gone), moves every moved
// one back and frees every new one; then closes the group without an entry.
void cancelUndoGroup(Scene& scene, HostDocument& document);

// Reverts / re-applies the last group; false when there is none.
bool undo(Scene& scene, HostDocument& document);
bool redo(Scene& scene, HostDocument& document);

}  // namespace substitute
