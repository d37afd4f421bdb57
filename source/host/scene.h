// The host's scene graph, undo and plug-in registry, as the search and the
// results list use them. Every element handle is borrowed from the host.
#pragma once

#include "kernel.h"
#include "path.h"

namespace host {

using Document = HostDocument;
using Element = HostElement;

// ---- General ----------------------------------------------------------------
inline Document* activeDocument() { return tables().t_C4DOS_Ge->activeDocument(); }
// Before the scene may change: every kind of background work, waited for.
inline void stopBackgroundWork() {
    tables().t_C4DOS_Ge->stopBackgroundWork(HOST_BACKGROUND_WORK_ALL, HOST_BACKGROUND_SCENE_CHANGES,
                                            HOST_BACKGROUND_WAIT);
}
inline void sceneChanged(int32_t flags = HOST_SCENE_CHANGED_REDRAW) { tables().t_C4DOS_Ge->sceneChanged(flags); }

// ---- Elements and lists --------------------------------------------------------
inline int32_t typeId(const Element* element) { return tables().t_C4DOS_Ba->typeId(element); }
inline String name(const Element* element) { return String::adopt(tables().t_C4DOS_Ba->name(element)); }
inline bool sendMessage(Element* element, int32_t id, void* data = nullptr) {
    return tables().t_C4DOS_Ba->sendMessage(element, id, data);
}
inline Element* next(const Element* element) { return tables().t_C4DOS_Bl->next(element); }
inline Element* firstChild(const Element* element) { return tables().t_C4DOS_Bl->firstChild(element); }
inline Element* parent(const Element* element) { return tables().t_C4DOS_Bl->parent(element); }
inline void unlink(Element* element) { tables().t_C4DOS_Bl->unlink(element); }
inline void freeElement(Element* element) { tables().t_C4DOS_Bl->free(element); }
inline Document* documentOf(const Element* element) { return tables().t_C4DOS_Bl->document(element); }

// ---- Documents ----------------------------------------------------------------
inline Element* firstObject(const Document* document) { return tables().t_C4DOS_Bd->firstObject(document); }
inline Element* firstMaterial(const Document* document) { return tables().t_C4DOS_Bd->firstMaterial(document); }
inline Element* activeRenderSettings(const Document* document) {
    return tables().t_C4DOS_Bd->activeRenderSettings(document);
}
inline Element* firstRenderSettings(const Document* document) {
    return tables().t_C4DOS_Bd->firstRenderSettings(document);
}
inline void setActiveObject(Document* document, Element* object, int32_t mode = HOST_SELECT_ONLY) {
    tables().t_C4DOS_Bd->setActiveObject(document, object, mode);
}
inline void setActiveMaterial(Document* document, Element* material, int32_t mode = HOST_SELECT_ONLY) {
    tables().t_C4DOS_Bd->setActiveMaterial(document, material, mode);
}

// An owned host element array. valid() is false when the host could not
// create it; such an array counts 0 and is filled by nothing.
class ElementArray {
public:
    ElementArray() : array_(fn().create()) {}
    ElementArray(const ElementArray&) = delete;
    ElementArray& operator=(const ElementArray&) = delete;
    ~ElementArray() {
        if (array_ != nullptr) fn().free(array_);
    }
    bool valid() const { return array_ != nullptr; }
    HostArray* handle() { return array_; }
    int32_t count() const { return array_ ? fn().count(array_) : 0; }
    Element* entry(int32_t index) const { return fn().entry(array_, index); }

private:
    static const HostArrayTable& fn() { return *tables().t_C4DOS_At; }
    HostArray* array_;
};

inline bool selectedObjects(const Document* document, ElementArray& array, int32_t flags = HOST_SELECTION_ALL) {
    return array.valid() && tables().t_C4DOS_Bd->selectedObjects(document, array.handle(), flags);
}
inline bool selectedMaterials(const Document* document, ElementArray& array) {
    return array.valid() && tables().t_C4DOS_Bd->selectedMaterials(document, array.handle());
}

// ---- Objects and tags ------------------------------------------------------------
// The tags of object with this type id. The host's buffer stays valid until
// the next call.
struct TagList {
    Element* const* tags;
    int32_t count;
};
inline TagList tagsOfType(const Element* object, int32_t type) {
    int32_t count = 0;
    Element* const* tags = tables().t_C4DOS_Tg->tagsOfType(object, type, &count);
    return {tags, tags ? count : 0};
}
inline Element* firstTag(const Element* object) { return tables().t_C4DOS_Bo->firstTag(object); }
inline Element* createObject(int32_t type, const Element* replaced) {
    return tables().t_C4DOS_Bo->createObject(type, replaced);
}
inline void insertObject(Document* document, Element* object, Element* parent, Element* previous) {
    tables().t_C4DOS_Bo->insertObject(document, object, parent, previous);
}
inline void insertTag(Element* object, Element* tag, Element* previous) {
    tables().t_C4DOS_Bo->insertTag(object, tag, previous);
}

// ---- Materials and shaders ----------------------------------------------------------
inline HostChannel* channel(const Element* material, int32_t number) {
    return tables().t_C4DOS_Mt->channel(material, number);
}
inline Element* channelShader(const HostChannel* channel) { return tables().t_C4DOS_Mt->channelShader(channel); }
inline bool reflectanceShaders(const Element* material, ElementArray& array) {
    return array.valid() && tables().t_C4DOS_Mt->reflectanceShaders(material, array.handle());
}
inline void updateMaterial(Element* material, bool preview, bool render) {
    tables().t_C4DOS_Mt->update(material, preview, render);
}
inline Element* shaderOwner(const Element* shader) { return tables().t_C4DOS_Sh->owner(shader); }
// The shaders an object, tag, material or video post owns; those below a shader.
inline Element* firstShader(const Element* element) { return tables().t_C4DOS_Sh->firstShader(element); }
inline Element* firstShaderBelow(const Element* shader) { return tables().t_C4DOS_Sh->firstBelow(shader); }

// ---- Layer shaders ----------------------------------------------------------------------
// The layer-shader library, or null when the host has none (or one too
// short for the module).
inline const HostLayerShaderLibrary* layerShaderLibrary() {
    const auto* library =
        static_cast<const HostLayerShaderLibrary*>(tables().t_C4DOS_Lr->find(HOST_LIBRARY_LAYER_SHADER));
    return hasEntries(library) ? library : nullptr;
}

// An owned generic value (a parameter read from the host).
class Value {
public:
    Value() : value_(fn().create()) {}
    Value(const Value&) = delete;
    Value& operator=(const Value&) = delete;
    ~Value() {
        if (value_ != nullptr) fn().free(value_);
    }
    bool valid() const { return value_ != nullptr; }
    HostValue* handle() { return value_; }
    int32_t type() const { return fn().type(value_); }
    HostLink* link() const { return fn().link(value_); }

private:
    static const HostValueTable& fn() { return *tables().t_C4DOS_Gv; }
    HostValue* value_;
};

// Layers of a layer shader; a host without the library has none.
inline HostLayer* firstLayer(const Element* layerShader) {
    const HostLayerShaderLibrary* library = layerShaderLibrary();
    return library ? library->firstLayer(layerShader) : nullptr;
}
inline HostLayer* nextLayer(const HostLayer* layer) {
    const HostLayerShaderLibrary* library = layerShaderLibrary();
    return library ? library->nextLayer(layer) : nullptr;
}
inline int32_t layerKind(const HostLayer* layer) {
    const HostLayerShaderLibrary* library = layerShaderLibrary();
    return library ? library->kind(layer) : 0;
}
inline bool layerParameter(const HostLayer* layer, int32_t id, Value& value) {
    const HostLayerShaderLibrary* library = layerShaderLibrary();
    return library && value.valid() && library->getParameter(layer, id, value.handle());
}

inline Element* resolveLink(const HostLink* link, const Document* document) {
    return tables().t_C4DOS_Ln->resolve(link, document);
}

// ---- Render settings -------------------------------------------------------------------------
inline Element* firstVideoPost(const Element* renderSettings) {
    return tables().t_C4DOS_Br->firstVideoPost(renderSettings);
}

// ---- Undo ------------------------------------------------------------------------------------
inline bool startUndo(Document* document) { return tables().t_C4DOS_Bu->startGroup(document); }
inline bool addUndo(Document* document, int32_t kind, Element* element, void* data = nullptr) {
    return tables().t_C4DOS_Bu->addStep(document, kind, element, data);
}
inline bool endUndo(Document* document) { return tables().t_C4DOS_Bu->endGroup(document); }
inline void cancelUndo(Document* document) { tables().t_C4DOS_Bu->cancelGroup(document); }

// ---- Plug-in registry ----------------------------------------------------------------------
inline HostPluginRecord* findPlugin(int32_t id, int32_t kind) { return tables().t_C4DOS_Pr->find(id, kind); }
inline String pluginName(const HostPluginRecord* record) { return String::adopt(tables().t_C4DOS_Pr->name(record)); }
inline int32_t pluginKind(const HostPluginRecord* record) { return tables().t_C4DOS_Pr->kind(record); }

// ---- Files ---------------------------------------------------------------------------------
inline bool openWithDefaultApplication(const Path& file) {
    return file.valid() && tables().t_C4DOS_Fi->openWithDefaultApplication(file.handle());
}

}  // namespace host
