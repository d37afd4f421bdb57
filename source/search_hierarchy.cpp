// The object and tag walks over the document's object hierarchy: one walk
// over the tree, with a visitor for objects and one for tags.
#include "search_run.h"

namespace {

// The tags of object that are instances, in the host's order.
void meetTags(SearchRun& run, host::Element* object) {
    if (run.missing != nullptr) {
        // Any type id may be missing: every tag is looked at.
        for (host::Element* tag = host::firstTag(object); tag != nullptr && !run.outcome.outOfMemory;
             tag = host::next(tag)) {
            if (sought(run, PluginType::Tag, tag, host::typeId(tag)))
                meetInstance(run, run.request.action, tag, PluginType::Tag, object, tag, 0, false);
        }
        return;
    }
    const host::TagList list = host::tagsOfType(object, run.request.pluginId);
    for (int32_t i = 0; i < list.count && !run.outcome.outOfMemory; ++i) {
        host::Element* tag = list.tags[i];
        if (tag == nullptr) continue;
        meetInstance(run, run.request.action, tag, PluginType::Tag, object, tag, 0, false);
        if (run.request.action == Action::Identify) return;
    }
}

// The scope-0 walk from first: its sibling chain and everything below it.
// enter(element) runs when the walk reaches an element, before its children;
// leave(element) after them, and answers whether the chain goes on to the
// next sibling. Each chain stands for one call of the recursive walk (the
// children of one object) and sends its scene-changed notice when it ends.
template <class Enter, class Leave>
void walkChains(SearchRun& run, host::Element* first, Enter enter, Leave leave) {
    // The current element of every open chain, outermost first.
    host::Vector<host::Element*> chains;
    if (!chains.push(first)) {
        run.outcome.outOfMemory = true;
        walkEnded(run);  // the call ends at once
        return;
    }
    bool childrenDone = false;  // whether the innermost chain's element had its children walked
    while (!chains.empty() && !run.outcome.outOfMemory) {
        host::Element* element = chains.back();
        if (!childrenDone) {
            enter(element);
            if (host::Element* child = host::firstChild(element)) {
                if (!chains.push(child)) run.outcome.outOfMemory = true;
                continue;
            }
        }
        host::Element* next = host::next(element);
        if (leave(element) && next != nullptr) {
            chains.back() = next;
            childrenDone = false;
        } else {
            walkEnded(run);
            chains.pop();
            childrenDone = true;
        }
    }
    // Cut short: every open call ends at once.
    for (; !chains.empty(); chains.pop()) walkEnded(run);
}

// Objects in post-order: an object's descendants before the object. In
// Identify a match ends its own chain.
void walkObjectChains(SearchRun& run, host::Element* first) {
    walkChains(
        run, first, [](host::Element*) {},
        [&](host::Element* object) {
            const bool instance = sought(run, PluginType::Object, object, host::typeId(object));
            if (instance) meetInstance(run, run.request.action, object, PluginType::Object, object, nullptr, 0, false);
            // A missing-plugins walk meets the shaders of every element where it meets the element.
            if (run.everyShader) walkObjectShaders(run, object);
            return !instance || run.request.action != Action::Identify;
        });
}

// Tags in pre-order: an object's own tags, then its descendants'.
void walkTagChains(SearchRun& run, host::Element* first) {
    walkChains(
        run, first, [&](host::Element* object) { meetTags(run, object); }, [](host::Element*) { return true; });
}

}  // namespace

void walkTagsAndObjects(SearchRun& run, host::Element* first) {
    if (first == nullptr) return;
    walkChains(
        run, first, [&](host::Element* object) { meetTags(run, object); },
        [&](host::Element* object) {
            if (sought(run, PluginType::Object, object, host::typeId(object)))
                meetInstance(run, run.request.action, object, PluginType::Object, object, nullptr, 0, false);
            if (run.everyShader) walkObjectShaders(run, object);
            return true;
        });
}

void walkObjectsForShaders(SearchRun& run, host::Element* first) {
    walkChains(
        run, first, [](host::Element*) {},
        [&](host::Element* object) {
            walkObjectShaders(run, object);
            return true;
        });
}

void walkObjects(SearchRun& run, host::Element* object, int32_t scope) {
    if (seeksNothing(run)) return;
    if (object != nullptr && scope == 0) {
        walkObjectChains(run, object);  // sends this call's notice too
        return;
    }
    if (object != nullptr && (scope == 1 || scope == 2)) {
        if (scope == 1) {
            if (host::Element* child = host::firstChild(object)) walkObjectChains(run, child);
        }
        if (!run.outcome.outOfMemory && sought(run, PluginType::Object, object, host::typeId(object))) {
            meetInstance(run, run.request.action, object, PluginType::Object, object, nullptr, 0, false);
        }
    }
    walkEnded(run);
}

void walkTags(SearchRun& run, host::Element* object, int32_t scope) {
    if (seeksNothing(run)) return;
    if (object != nullptr && scope == 0) {
        walkTagChains(run, object);
        return;
    }
    if (object != nullptr && (scope == 1 || scope == 2)) {
        meetTags(run, object);
        if (scope == 1 && !run.outcome.outOfMemory) {
            if (host::Element* child = host::firstChild(object)) walkTagChains(run, child);
        }
    }
    walkEnded(run);
}
