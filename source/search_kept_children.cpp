// A removal takes the plug-in, not the artist's work: a removed object below
// which something stays is replaced by a Null at its place that holds what
// stays (its children that are not removed, the Nulls of its removed
// children that hold something, its tags that are not removed). The Nulls
// depend only on the set of removed objects, never on the order the walk
// met them in. Planned once the walk is complete, so that a run short of
// memory changes nothing; made inside the run's undo group in the order the
// application records them: a new element after it is inserted, a moved one
// before it moves.
#include "search_run.h"

namespace {

// Marks of the removed objects: whether anything outside the removal lies below.
constexpr int32_t holdsUnknown = 0;
constexpr int32_t holdsNothing = 1;
constexpr int32_t holdsSomething = 2;

// removed: every object the plan removes -> holdsUnknown. Settles each mark.
// Every removed object is climbed down from once, and only through removed
// children, so the work is linear in them and their children.
bool markWhatStays(ElementMap& removed, const host::Vector<host::Element*>& objects) {
    struct Frame {
        host::Element* object;
        host::Element* nextChild;
        bool holds;
    };
    host::Vector<Frame> frames;
    for (host::Element* start : objects) {
        if (*removed.find(start) != holdsUnknown) continue;
        if (!frames.push({start, host::firstChild(start), false})) return false;
        while (!frames.empty()) {
            Frame& frame = frames.back();
            host::Element* child = frame.nextChild;
            if (child == nullptr) {
                const bool holds = frame.holds;
                *removed.find(frame.object) = holds ? holdsSomething : holdsNothing;
                frames.pop();
                if (!frames.empty()) frames.back().holds = frames.back().holds || holds;
                continue;
            }
            frame.nextChild = host::next(child);
            const int32_t* mark = removed.find(child);
            if (mark == nullptr || *mark == holdsSomething) {
                frame.holds = true;
            } else if (*mark == holdsUnknown) {
                if (!frames.push({child, host::firstChild(child), false})) return false;
            }
        }
    }
    return true;
}

bool add(RemovalPlan& plan, KeepingStep::Kind kind, host::Element* element, KeptPlace parent, KeptPlace previous) {
    return plan.keeping.push({kind, element, parent, previous});
}

// The Null of top, a removed object whose parent stays, and below it the
// Nulls of its removed children that hold something, each with what it keeps.
bool planNulls(RemovalPlan& plan, ElementMap& removed, host::Element* top, int32_t& slots) {
    struct Frame {
        host::Element* object;
        int32_t slot;  // of its Null
        host::Element* nextChild;
        KeptPlace previous;  // the last child kept in its Null
    };
    host::Vector<Frame> frames;
    const auto enter = [&](host::Element* object, KeptPlace parent, KeptPlace previous) {
        const int32_t slot = slots++;
        if (!add(plan, KeepingStep::Kind::MakeNull, object, parent, previous)) return false;
        // Its tags that the run does not remove, in their order.
        KeptPlace previousTag;
        for (host::Element* tag = host::firstTag(object); tag != nullptr; tag = host::next(tag)) {
            if (plan.planned.find(tag) != nullptr) continue;
            if (!add(plan, KeepingStep::Kind::MoveTag, tag, {nullptr, slot}, previousTag)) return false;
            previousTag = {tag, -1};
        }
        return frames.push({object, slot, host::firstChild(object), {}});
    };
    // The Null goes right after the object it replaces, which then goes.
    if (!enter(top, {host::parent(top), -1}, {top, -1})) return false;
    while (!frames.empty()) {
        Frame& frame = frames.back();
        host::Element* child = frame.nextChild;
        if (child == nullptr) {
            frames.pop();
            continue;
        }
        frame.nextChild = host::next(child);
        const int32_t* mark = removed.find(child);
        const KeptPlace parent{nullptr, frame.slot};
        if (mark == nullptr) {
            if (!add(plan, KeepingStep::Kind::MoveObject, child, parent, frame.previous)) return false;
            frame.previous = {child, -1};
        } else if (*mark == holdsSomething) {
            const KeptPlace previous = frame.previous;
            frame.previous = {nullptr, slots};
            if (!enter(child, parent, previous)) return false;  // frame may have moved
        }
    }
    return true;
}

host::Element* placed(const RemovalPlan& plan, KeptPlace place) {
    return place.slot >= 0 ? plan.nulls[place.slot] : place.element;
}

}  // namespace

bool planKeptChildren(RemovalPlan& plan) {
    ElementMap removed;
    host::Vector<host::Element*> objects;
    for (const PlannedStep& step : plan.steps) {
        if (!step.isObject) continue;
        if (!removed.set(step.element, holdsUnknown) || !objects.push(step.element)) return false;
    }
    if (objects.empty()) return true;
    if (!markWhatStays(removed, objects)) return false;
    int32_t slots = 0;
    for (host::Element* object : objects) {
        host::Element* parent = host::parent(object);
        // Below a removed object, it is kept (or not) with that one's Null.
        if (*removed.find(object) != holdsSomething || (parent != nullptr && removed.find(parent) != nullptr)) continue;
        if (!planNulls(plan, removed, object, slots)) return false;
    }
    // Room for every Null now: making them needs no memory of the module's.
    return plan.nulls.reserve(slots);
}

Carried keepChildren(host::Document* document, RemovalPlan& plan) {
    for (const KeepingStep& step : plan.keeping) {
        host::Element* parent = placed(plan, step.parent);
        host::Element* previous = placed(plan, step.previous);
        if (step.kind == KeepingStep::Kind::MakeNull) {
            host::Element* null = host::createObject(HOST_TYPE_NULL_OBJECT, step.element);
            if (null == nullptr) return Carried::OutOfMemory;
            host::insertObject(document, null, parent, previous);
            if (!host::addUndo(document, HOST_UNDO_NEW, null)) {
                // Not recorded, so cancelling the group would leave it: it goes now.
                host::unlink(null);
                host::freeElement(null);
                return Carried::UndoRefused;
            }
            plan.nulls.push(null);  // reserved
            continue;
        }
        if (!host::addUndo(document, HOST_UNDO_MOVE, step.element)) return Carried::UndoRefused;
        host::unlink(step.element);
        if (step.kind == KeepingStep::Kind::MoveObject) {
            host::insertObject(document, step.element, parent, previous);
        } else {
            host::insertTag(parent, step.element, previous);
        }
    }
    return Carried::Done;
}
