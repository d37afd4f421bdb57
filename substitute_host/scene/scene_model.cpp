#include "scene/scene_model.h"

#include "core/fault.h"

namespace substitute {

const char* elementKindName(ElementKind kind) {
    switch (kind) {
        case ElementKind::Object: return "an object";
        case ElementKind::Tag: return "a tag";
        case ElementKind::Material: return "a material";
        case ElementKind::Shader: return "a shader";
        case ElementKind::VideoPost: return "a video post";
        case ElementKind::RenderSettings: return "render settings";
    }
    return "?";
}

void requireKind(const HostElement& element, ElementKind kind, const char* operation) {
    if (element.kind != kind) {
        fault(operation, "element \"" + element.name + "\" is " + elementKindName(element.kind) + ", not " +
                             elementKindName(kind));
    }
}

}  // namespace substitute

using substitute::ElementKind;

HostChannel::HostChannel(HostElement* material, int32_t number) {
    shader.holder = reflectance.holder = material;
    shader.channel = reflectance.channel = number;
}

HostDocument::HostDocument() { objects.document = materials.document = renderSettings.document = this; }

namespace substitute {

SceneObject::SceneObject() : HostElement(ElementKind::Object) { children.holder = tags.holder = shaders.holder = this; }
OwningElement::OwningElement(ElementKind elementKind) : HostElement(elementKind) { shaders.holder = this; }
Material::Material() : HostElement(ElementKind::Material) { shaders.holder = this; }
Shader::Shader() : HostElement(ElementKind::Shader) { inputs.holder = this; }
RenderSettings::RenderSettings() : HostElement(ElementKind::RenderSettings) { videoPosts.holder = this; }

HostElement* newElement(ElementKind kind) {
    switch (kind) {
        case ElementKind::Object: return new SceneObject;
        case ElementKind::Material: return new Material;
        case ElementKind::Shader: return new Shader;
        case ElementKind::RenderSettings: return new RenderSettings;
        case ElementKind::Tag:
        case ElementKind::VideoPost: return new OwningElement(kind);
    }
    return nullptr;
}

void deleteElement(HostElement* element) {
    switch (element->kind) {
        case ElementKind::Object: delete &asObject(*element); break;
        case ElementKind::Material: delete &asMaterial(*element); break;
        case ElementKind::Shader: delete &asShader(*element); break;
        case ElementKind::RenderSettings: delete &asRenderSettings(*element); break;
        case ElementKind::Tag:
        case ElementKind::VideoPost: delete &asOwning(*element); break;
    }
}

ElementList* shadersOf(HostElement& element) {
    switch (element.kind) {
        case ElementKind::Object: return &asObject(element).shaders;
        case ElementKind::Material: return &asMaterial(element).shaders;
        case ElementKind::Shader: return &asShader(element).inputs;
        case ElementKind::Tag:
        case ElementKind::VideoPost: return &asOwning(element).shaders;
        case ElementKind::RenderSettings: return nullptr;
    }
    return nullptr;
}

ElementKind kindHeldBy(ListRole role) {
    switch (role) {
        case ListRole::Objects:
        case ListRole::Children: return ElementKind::Object;
        case ListRole::Materials: return ElementKind::Material;
        case ListRole::RenderSettings: return ElementKind::RenderSettings;
        case ListRole::Tags: return ElementKind::Tag;
        case ListRole::ChannelShader:
        case ListRole::Reflectance:
        case ListRole::Inputs:
        case ListRole::Shaders: return ElementKind::Shader;
        case ListRole::VideoPosts: return ElementKind::VideoPost;
    }
    return ElementKind::Object;
}

namespace {
HostDocument* documentOfList(const ElementList& list) {
    return list.document ? list.document : list.holder ? list.holder->document : nullptr;
}

// Notes document on element and on everything below it.
void setDocument(HostElement& element, HostDocument* document) {
    if (element.document == document) return;  // what lies below follows its holder
    std::vector<HostElement*> pending;
    auto noteBelow = [&](HostElement& e) {
        e.document = document;
        forEachList(e, [&](ElementList& below) {
            for (HostElement* b = below.first; b; b = b->next) pending.push_back(b);
        });
    };
    noteBelow(element);
    while (!pending.empty()) {
        HostElement* e = pending.back();
        pending.pop_back();
        noteBelow(*e);
    }
}
}  // namespace

void insertAfter(ElementList& list, HostElement* previous, HostElement* element) {
    HostElement* following = previous ? previous->next : list.first;
    element->list = &list;
    element->previous = previous;
    element->next = following;
    (previous ? previous->next : list.first) = element;
    (following ? following->previous : list.last) = element;
    setDocument(*element, documentOfList(list));
}

void unlink(HostElement& element) {
    ElementList* list = element.list;
    if (list == nullptr) return;
    (element.previous ? element.previous->next : list->first) = element.next;
    (element.next ? element.next->previous : list->last) = element.previous;
    element.list = nullptr;
    element.previous = element.next = nullptr;
    setDocument(element, nullptr);
}

std::vector<HostElement*> subtree(HostElement* element) {
    std::vector<HostElement*> result{element};
    for (size_t i = 0; i < result.size(); ++i) {
        forEachList(*result[i], [&](ElementList& list) {
            for (HostElement* e = list.first; e; e = e->next) result.push_back(e);
        });
    }
    return result;
}

HostElement* parentObject(const HostElement& element) {
    return element.list && element.list->role == ListRole::Children ? element.list->holder : nullptr;
}

HostElement* nextInPreOrder(const HostElement* object) {
    const SceneObject& o = asObject(*object);
    if (o.children.first) return o.children.first;
    for (const HostElement* e = object; e; e = parentObject(*e)) {
        if (e->next) return e->next;
    }
    return nullptr;
}

}  // namespace substitute
