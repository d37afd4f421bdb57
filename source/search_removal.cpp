// A planned removal carried out as one undo group, or not at all: the host
// may refuse to record a step (it is memory like any other), and an element
// removed without its step could never be brought back.
#include "search_run.h"

namespace {

bool hasRemovals(const RemovalPlan& plan) {
    for (const PlannedStep& step : plan.steps) {
        if (!step.updatesMaterial) return true;
    }
    return false;
}

// Each removal with its undo step, in plan order; false at the first step the
// host refuses. One that lay inside an instance unlinked before it has left
// the document with that one and is not touched again.
bool unlinkWithUndo(host::Document* document, RemovalPlan& plan) {
    for (PlannedStep& step : plan.steps) {
        if (step.updatesMaterial) continue;
        if (host::documentOf(step.element) == nullptr) {
            step.element = nullptr;
        } else {
            if (!host::addUndo(document, HOST_UNDO_DELETE, step.element)) return false;
            host::unlink(step.element);
        }
    }
    return true;
}

}  // namespace

void closeUndoGroup(host::Document* document) {
    // A group that recorded nothing leaves nothing, kept or cancelled.
    if (!host::endUndo(document)) host::cancelUndo(document);
}

Carried carryOutPlan(host::Document* document, RemovalPlan& plan, bool grouped) {
    if (hasRemovals(plan)) {
        if (!grouped) return Carried::UndoRefused;
        // A partly recorded group is taken back whole: the host puts back what
        // was unlinked or moved and takes out what was made, and no undo step
        // is left that would undo less than the run did.
        Carried carried = keepChildren(document, plan);
        if (carried == Carried::Done && (!unlinkWithUndo(document, plan) || !host::endUndo(document)))
            carried = Carried::UndoRefused;
        if (carried != Carried::Done) {
            host::cancelUndo(document);
            return carried;
        }
    } else if (grouped) {
        closeUndoGroup(document);
    }
    // Nothing is freed before the group is kept: until then it may be put back.
    for (const PlannedStep& step : plan.steps) {
        if (step.updatesMaterial) updateMaterial(step.element);
    }
    for (const PlannedStep& step : plan.steps) {
        if (!step.updatesMaterial && step.element != nullptr) host::freeElement(step.element);
    }
    return Carried::Done;
}
