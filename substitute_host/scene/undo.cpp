#include "scene/undo.h"

#include "core/fault.h"
#include "core/substitute_host.h"
#include "scene/scene.h"

namespace substitute {
namespace {

ElementKind holderKind(ListRole role) {
    switch (role) {
        case ListRole::Children:
        case ListRole::Tags: return ElementKind::Object;
        case ListRole::ChannelShader:
        case ListRole::Reflectance: return ElementKind::Material;
        case ListRole::Inputs: return ElementKind::Shader;
        default: return ElementKind::RenderSettings;
    }
}

// The list a place names, as the document is now.
ElementList& listAt(Scene& scene, HostDocument& document, const UndoPlace& place) {
    if (place.holder == 0) {
        if (place.role == ListRole::Objects) return document.objects;
        if (place.role == ListRole::Materials) return document.materials;
        return document.renderSettings;
    }
    HostElement* holder = scene.elementById(place.holder);
    if (place.role == ListRole::Shaders) {
        ElementList* owned = holder ? shadersOf(*holder) : nullptr;
        if (owned == nullptr || owned->role != ListRole::Shaders) {
            fault("undo", "the element that owned a deleted shader is gone");
        }
        return *owned;
    }
    if (holder == nullptr || holder->kind != holderKind(place.role)) {
        fault("undo", "the element that held a deleted element is gone");
    }
    switch (place.role) {
        case ListRole::Children: return asObject(*holder).children;
        case ListRole::Tags: return asObject(*holder).tags;
        case ListRole::Inputs: return asShader(*holder).inputs;
        case ListRole::VideoPosts: return asRenderSettings(*holder).videoPosts;
        default: break;
    }
    auto& channel = asMaterial(*holder).channels[size_t(place.channel)];
    if (!channel) fault("undo", "the channel that held a deleted shader is gone");
    return place.role == ListRole::ChannelShader ? channel->shader : channel->reflectance;
}

void putAt(Scene& scene, HostDocument& document, const UndoPlace& place, HostElement* element) {
    ElementList& list = listAt(scene, document, place);
    HostElement* previous = place.previous ? scene.elementById(place.previous) : nullptr;
    if (place.previous && (previous == nullptr || previous->list != &list)) {
        fault("undo", "the element before a deleted, moved or new element is gone");
    }
    insertAfter(list, previous, element);
}

// A copy of what step recorded, linked at place, unless the element is alive.
void restore(Scene& scene, HostDocument& document, const UndoStep& step, const UndoPlace& place) {
    if (scene.elementById(step.element)) return;  // never deleted after all
    HostElement* copy = Scene::copyTree(*step.snapshot);
    scene.registerTree(copy);
    putAt(scene, document, place, copy);
}

void moveTo(Scene& scene, HostDocument& document, const UndoPlace& place, uint64_t id) {
    HostElement* element = scene.elementById(id);
    if (element == nullptr) fault("undo", "a moved element is gone");
    unlink(*element);
    putAt(scene, document, place, element);
}

void freeById(Scene& scene, uint64_t id) {
    if (HostElement* element = scene.elementById(id)) scene.freeElement(element);
}

// Takes one step back: what it deleted comes back, what it moved goes back,
// what it made goes.
void takeBack(Scene& scene, HostDocument& document, const UndoStep& step) {
    switch (step.kind) {
        case UndoKind::Delete: restore(scene, document, step, step.place); break;
        case UndoKind::New: freeById(scene, step.element); break;
        case UndoKind::Move: moveTo(scene, document, step.place, step.element); break;
    }
}

UndoPlace placeOf(const HostElement& element) {
    const ElementList& list = *element.list;
    return {list.role, list.document ? 0 : list.holder->id, list.channel, element.previous ? element.previous->id : 0};
}

// A move's destination is where the element is at the module's next undo
// request: it moves right after its step is recorded.
void settleLastMove(const HostDocument& document, UndoGroup& group) {
    if (group.steps.empty()) return;
    UndoStep& last = group.steps.back();
    if (last.kind != UndoKind::Move || last.destination) return;
    HostElement* element = SubstituteHost::current().scene.elementById(last.element);
    if (element == nullptr || element->list == nullptr || documentOf(*element) != &document) {
        fault("Bu", "an element recorded as moved was not put anywhere in the document");
    }
    last.destination = placeOf(*element);
}

UndoGroup& openGroup(HostDocument& document, const char* operation) {
    if (!document.undo.open) fault(operation, "no undo group is open");
    settleLastMove(document, *document.undo.open);
    return *document.undo.open;
}

}  // namespace

void DetachedTreeDeleter::operator()(HostElement* root) const {
    for (HostElement* e : subtree(root)) deleteElement(e);
}

void startUndoGroup(HostDocument& document) {
    if (document.undo.open) fault("Bu.startGroup", "an undo group is open already (groups do not nest)");
    document.undo.open.emplace();
}

void recordDeletion(HostDocument& document, HostElement& element) {
    openGroup(document, "Bu.addStep")
        .steps.push_back({UndoKind::Delete, element.id, DetachedTree(Scene::copyTree(element)), placeOf(element), {}});
}

void recordNew(HostDocument& document, HostElement& element) {
    openGroup(document, "Bu.addStep")
        .steps.push_back({UndoKind::New, element.id, DetachedTree(Scene::copyTree(element)), placeOf(element), {}});
}

void recordMove(HostDocument& document, HostElement& element) {
    openGroup(document, "Bu.addStep").steps.push_back({UndoKind::Move, element.id, nullptr, placeOf(element), {}});
}

void endUndoGroup(HostDocument& document) {
    UndoHistory& history = document.undo;
    openGroup(document, "Bu.endGroup");
    if (!history.open->steps.empty()) {
        history.done.push_back(std::move(*history.open));
        history.undone.clear();
    }
    history.open.reset();
}

void cancelUndoGroup(Scene& scene, HostDocument& document) {
    UndoHistory& history = document.undo;
    if (!history.open) fault("Bu.cancelGroup", "no undo group is open");
    const std::vector<UndoStep>& steps = history.open->steps;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        HostElement* element = scene.elementById(step->element);
        if (step->kind != UndoKind::Delete) {
            // A move not yet made goes back to the place it never left.
            if (step->kind == UndoKind::Move && element != nullptr && element->list == nullptr) {
                putAt(scene, document, step->place, element);
            } else {
                takeBack(scene, document, *step);
            }
        } else if (element == nullptr) {
            restore(scene, document, *step, step->place);
        } else if (element->list == nullptr) {  // unlinked, not freed
            putAt(scene, document, step->place, element);
        }
    }
    history.open.reset();
}

namespace {
// Takes the last group of from, applies it and keeps it in to; false when
// from is empty.
template <class Apply>
bool replay(UndoHistory& history, std::vector<UndoGroup>& from, std::vector<UndoGroup>& to, const char* operation,
            Apply apply) {
    if (history.open) fault(operation, "an undo group is still open");
    if (from.empty()) return false;
    UndoGroup group = std::move(from.back());
    from.pop_back();
    apply(group);
    to.push_back(std::move(group));
    return true;
}
}  // namespace

bool undo(Scene& scene, HostDocument& document) {
    UndoHistory& history = document.undo;
    return replay(history, history.done, history.undone, "undo", [&](const UndoGroup& group) {
        for (auto step = group.steps.rbegin(); step != group.steps.rend(); ++step) takeBack(scene, document, *step);
    });
}

bool redo(Scene& scene, HostDocument& document) {
    UndoHistory& history = document.undo;
    return replay(history, history.undone, history.done, "redo", [&](const UndoGroup& group) {
        for (const UndoStep& step : group.steps) {
            switch (step.kind) {
                case UndoKind::Delete: freeById(scene, step.element); break;
                case UndoKind::New: restore(scene, document, step, step.place); break;
                case UndoKind::Move: moveTo(scene, document, *step.destination, step.element); break;
            }
        }
    });
}

}  // namespace substitute
