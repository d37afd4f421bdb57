#include "scene/undo.h"

#include "core/fault.h"
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

// Links element (detached) back at the place of step.
void putBack(Scene& scene, HostDocument& document, const UndoStep& step, HostElement* element) {
    ElementList& list = listAt(scene, document, step.place);
    HostElement* previous = step.place.previous ? scene.elementById(step.place.previous) : nullptr;
    if (step.place.previous && (previous == nullptr || previous->list != &list)) {
        fault("undo", "the element before a deleted element is gone");
    }
    insertAfter(list, previous, element);
}

void restore(Scene& scene, HostDocument& document, const UndoStep& step) {
    if (scene.elementById(step.snapshot->id)) return;  // never deleted after all
    HostElement* copy = Scene::copyTree(*step.snapshot);
    scene.registerTree(copy);
    putBack(scene, document, step, copy);
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
    if (!document.undo.open) fault("Bu.addStep", "no undo group is open");
    const ElementList& list = *element.list;
    UndoPlace place{list.role, list.document ? 0 : list.holder->id, list.channel,
                    element.previous ? element.previous->id : 0};
    document.undo.open->steps.push_back({DetachedTree(Scene::copyTree(element)), place});
}

void endUndoGroup(HostDocument& document) {
    UndoHistory& history = document.undo;
    if (!history.open) fault("Bu.endGroup", "no undo group is open");
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
        HostElement* element = scene.elementById(step->snapshot->id);
        if (element == nullptr) {
            restore(scene, document, *step);
        } else if (element->list == nullptr) {  // unlinked, not freed
            putBack(scene, document, *step, element);
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
        for (auto step = group.steps.rbegin(); step != group.steps.rend(); ++step) restore(scene, document, *step);
    });
}

bool redo(Scene& scene, HostDocument& document) {
    UndoHistory& history = document.undo;
    return replay(history, history.undone, history.done, "redo", [&](const UndoGroup& group) {
        for (const UndoStep& step : group.steps) {
            if (HostElement* element = scene.elementById(step.snapshot->id)) scene.freeElement(element);
        }
    });
}

}  // namespace substitute
