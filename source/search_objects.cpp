// The object and tag walkers over the document's object hierarchy.
#include "search.h"

namespace {

// An object instance met by the object walker.
void handleObject(CleartraceDialog& dialog, host::Document* document, host::Element* object, int32_t id,
                  int32_t action) {
    if (action == Remove) {
        removeInstance(dialog, document, object, Object);
    } else {
        listOrIdentify(dialog, object, id, Object, action, object, nullptr, 0, false);
    }
}

// The tags of object that are instances, in the host's order.
void handleTags(CleartraceDialog& dialog, host::Document* document, host::Element* object, int32_t id,
                int32_t action) {
    const host::TagList list = host::tagsOfType(object, id);
    for (int32_t i = 0; i < list.count; ++i) {
        host::Element* tag = list.tags[i];
        if (tag == nullptr) continue;
        if (action == Remove) {
            removeInstance(dialog, document, tag, Tag);
        } else {
            listOrIdentify(dialog, tag, id, Tag, action, object, tag, 0, false);
            if (action == Identify) return;
        }
    }
}

// The scope-0 walk from first: its sibling chain and everything below it.
// enter(element) runs when the walk reaches an element, before its children;
// leave(element) after them, and answers whether the chain goes on to the
// next sibling (which is taken before, as leave may remove element). Each
// chain stands for one call of the recursive walk (the children of one
// object) and sends its scene-changed notice when it ends.
template <class Enter, class Leave>
void walkChains(host::Element* first, Enter enter, Leave leave) {
    // The current element of every open chain, outermost first.
    host::Vector<host::Element*> chains;
    if (!chains.push(first)) {
        host::sceneChanged();  // the call ends at once
        return;
    }
    bool outOfMemory = false;
    bool childrenDone = false;  // whether the innermost chain's element had its children walked
    while (!chains.empty() && !outOfMemory) {
        host::Element* element = chains.back();
        if (!childrenDone) {
            enter(element);
            if (host::Element* child = host::firstChild(element)) {
                outOfMemory = !chains.push(child);
                continue;
            }
        }
        host::Element* next = host::next(element);
        if (leave(element) && next != nullptr) {
            chains.back() = next;
            childrenDone = false;
        } else {
            host::sceneChanged();
            chains.pop();
            childrenDone = true;
        }
    }
    // Out of memory: every open chain ends at once, as if nothing more was found.
    for (; !chains.empty(); chains.pop()) host::sceneChanged();
}

// Objects in post-order: an object's descendants before the object. In
// Identify a match ends its own chain.
void walkObjectChains(CleartraceDialog& dialog, host::Document* document, host::Element* first, int32_t id,
                      int32_t action) {
    walkChains(
        first, [](host::Element*) {},
        [&](host::Element* object) {
            if (host::typeId(object) != id) return true;
            handleObject(dialog, document, object, id, action);
            return action != Identify;
        });
}

// Tags in pre-order: an object's own tags, then its descendants'.
void walkTagChains(CleartraceDialog& dialog, host::Document* document, host::Element* first, int32_t id,
                   int32_t action) {
    walkChains(
        first, [&](host::Element* object) { handleTags(dialog, document, object, id, action); },
        [](host::Element*) { return true; });
}

}  // namespace

void walkObjects(CleartraceDialog& dialog, host::Document* document, host::Element* object, int32_t id,
                 int32_t scope, int32_t action) {
    if (id == 0) return;
    if (object != nullptr && scope == 0) {
        walkObjectChains(dialog, document, object, id, action);  // sends this call's notice too
        return;
    }
    if (object != nullptr && (scope == 1 || scope == 2)) {
        if (scope == 1) {
            if (host::Element* child = host::firstChild(object)) walkObjectChains(dialog, document, child, id, action);
        }
        if (host::typeId(object) == id) handleObject(dialog, document, object, id, action);
    }
    host::sceneChanged();
}

void walkTags(CleartraceDialog& dialog, host::Document* document, host::Element* object, int32_t id, int32_t scope,
              int32_t action) {
    if (id == 0) return;
    if (object != nullptr && scope == 0) {
        walkTagChains(dialog, document, object, id, action);
        return;
    }
    if (object != nullptr && (scope == 1 || scope == 2)) {
        handleTags(dialog, document, object, id, action);
        if (scope == 1) {
            if (host::Element* child = host::firstChild(object)) walkTagChains(dialog, document, child, id, action);
        }
    }
    host::sceneChanged();
}
