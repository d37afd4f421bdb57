// The scene's table entries. Each entry checks every handle it is given
// before it touches the scene, and names itself in the fault when one is bad.
#include <string>

#include "core/fault.h"
#include "core/substitute_host.h"
#include "kernel/host_strings.h"
#include "scene/scene.h"

namespace substitute {
namespace {
Scene& scene() { return SubstituteHost::current().scene; }
HandleRegistry& handles() { return SubstituteHost::current().handles; }
KernelServices& services() { return SubstituteHost::current().services; }

HostElement& element(const char* operation, const HostElement* handle) {
    handles().check(operation, handle, HandleKind::Element);
    return const_cast<HostElement&>(*handle);
}

HostElement& element(const char* operation, const HostElement* handle, ElementKind kind) {
    HostElement& checked = element(operation, handle);
    requireKind(checked, kind, operation);
    return checked;
}

HostDocument& document(const char* operation, const HostDocument* handle) {
    handles().check(operation, handle, HandleKind::Document);
    return const_cast<HostDocument&>(*handle);
}

// A document whose selection the operation sets: never a hidden one, which
// no one sees.
HostDocument& shownDocument(const char* operation, const HostDocument* handle) {
    HostDocument& checked = document(operation, handle);
    Scene::requireShown(checked, operation);
    return checked;
}

HostArray& array(const char* operation, const HostArray* handle) {
    handles().check(operation, handle, HandleKind::Array);
    return const_cast<HostArray&>(*handle);
}

HostValue& value(const char* operation, const HostValue* handle) {
    handles().check(operation, handle, HandleKind::Value);
    return const_cast<HostValue&>(*handle);
}

const HostLayer& layer(const char* operation, const HostLayer* handle) {
    handles().check(operation, handle, HandleKind::Layer);
    return *handle;
}

const HostPluginRecord& plugin(const char* operation, const HostPluginRecord* handle) {
    handles().check(operation, handle, HandleKind::PluginRecord);
    return *handle;
}

// An element of the document given with the call.
HostElement& elementIn(const char* operation, HostDocument& doc, const HostElement* handle, ElementKind kind) {
    HostElement& checked = element(operation, handle, kind);
    if (documentOf(checked) != &doc) fault(operation, "element \"" + checked.name + "\" is not in this document");
    return checked;
}

// A host object created on the module's request: new (freeObject), or null
// when creation is to fail.
template <class T>
T* createObject(HandleKind kind) {
    if (!services().objectCreationAllowed()) return nullptr;
    T* created = new T;
    handles().add(created, kind);
    return created;
}

template <class T>
void freeObject(T* checked) {
    handles().remove(checked);
    delete checked;
}

void setValueLink(HostValue& v, uint64_t target) {
    if (v.type != HOST_DATA_TYPE_LINK) handles().add(&v.link, HandleKind::Link);
    v.type = HOST_DATA_TYPE_LINK;
    v.link.target = target;
}

void clearValue(HostValue& v) {
    if (v.type == HOST_DATA_TYPE_LINK) handles().remove(&v.link);
    v = HostValue{};
}

void fillGeneral(HostGeneralTable& ge) {
    ge.activeDocument = []() { return scene().activeDocument(); };
    ge.stopBackgroundWork = [](int32_t kinds, int32_t reason, int32_t wait) {
        scene().notices.backgroundStops.push_back({kinds, reason, wait});
    };
    ge.sceneChanged = [](int32_t flags) { scene().notices.sceneChanges.push_back(flags); };
}

void fillElements(TableStorage& t) {
    t.sh.owner = [](const HostElement* shader) {
        return scene().ownerOf(element("Sh.owner", shader, ElementKind::Shader));
    };
    t.sh.firstShader = [](const HostElement* e) {
        HostElement& owning = element("Sh.firstShader", e);
        if (owning.kind == ElementKind::Shader || owning.kind == ElementKind::RenderSettings) {
            fault("Sh.firstShader", "element \"" + owning.name + "\" is " + elementKindName(owning.kind) +
                                        ", not an object, tag, material or video post");
        }
        return shadersOf(owning)->first;
    };
    t.sh.firstBelow = [](const HostElement* shader) {
        return shadersOf(element("Sh.firstBelow", shader, ElementKind::Shader))->first;
    };

    t.ba.typeId = [](const HostElement* e) { return element("Ba.typeId", e).type; };
    t.ba.name = [](const HostElement* e) { return newModuleString(element("Ba.name", e).name); };
    t.ba.sendMessage = [](HostElement* e, int32_t id, void*) {
        scene().notices.messages.push_back({element("Ba.sendMessage", e).id, id});
        return true;
    };

    t.bl.next = [](const HostElement* e) { return element("Bl.next", e).next; };
    t.bl.firstChild = [](const HostElement* e) {
        return asObject(element("Bl.firstChild", e, ElementKind::Object)).children.first;
    };
    t.bl.parent = [](const HostElement* e) { return parentObject(element("Bl.parent", e, ElementKind::Object)); };
    t.bl.unlink = [](HostElement* e) { unlink(element("Bl.unlink", e)); };
    t.bl.free = [](HostElement* e) { scene().freeElement(&element("Bl.free", e)); };
    t.bl.document = [](const HostElement* e) { return documentOf(element("Bl.document", e)); };

    t.tg.tagsOfType = [](const HostElement* object, int32_t typeId, int32_t* count) -> HostElement* const* {
        const HostElement& o = element("Tg.tagsOfType", object, ElementKind::Object);
        if (count == nullptr) fault("Tg.tagsOfType", "null count");
        return scene().tagsOfType(o, typeId, *count);
    };
    t.bo.firstTag = [](const HostElement* e) {
        return asObject(element("Bo.firstTag", e, ElementKind::Object)).tags.first;
    };
    t.bo.createObject = [](int32_t type, const HostElement* replaced) -> HostElement* {
        const HostElement& stood = element("Bo.createObject", replaced, ElementKind::Object);
        if (documentOf(stood) == nullptr) fault("Bo.createObject", "the replaced object is in no document");
        if (!services().objectCreationAllowed()) return nullptr;
        return scene().createObjectFor(type, stood);
    };
    t.bo.insertObject = [](HostDocument* d, HostElement* object, HostElement* parent, HostElement* previous) {
        HostDocument& doc = document("Bo.insertObject", d);
        HostElement& o = element("Bo.insertObject", object, ElementKind::Object);
        if (o.list != nullptr) fault("Bo.insertObject", "object \"" + o.name + "\" is still linked");
        ElementList& list =
            parent ? asObject(elementIn("Bo.insertObject", doc, parent, ElementKind::Object)).children : doc.objects;
        if (previous != nullptr && element("Bo.insertObject", previous, ElementKind::Object).list != &list) {
            fault("Bo.insertObject", "the previous object is not a child of that parent");
        }
        insertAfter(list, previous, &o);
        scene().inserted(o);
    };
    t.bo.insertTag = [](HostElement* object, HostElement* tag, HostElement* previous) {
        HostElement& o = element("Bo.insertTag", object, ElementKind::Object);
        if (documentOf(o) == nullptr) fault("Bo.insertTag", "object \"" + o.name + "\" is in no document");
        HostElement& moved = element("Bo.insertTag", tag, ElementKind::Tag);
        if (moved.list != nullptr) fault("Bo.insertTag", "tag \"" + moved.name + "\" is still linked");
        ElementList& list = asObject(o).tags;
        if (previous != nullptr && element("Bo.insertTag", previous, ElementKind::Tag).list != &list) {
            fault("Bo.insertTag", "the previous tag is not a tag of that object");
        }
        insertAfter(list, previous, &moved);
    };
    t.br.firstVideoPost = [](const HostElement* e) {
        return asRenderSettings(element("Br.firstVideoPost", e, ElementKind::RenderSettings)).videoPosts.first;
    };
}

void fillDocuments(HostDocumentTable& bd) {
    bd.firstObject = [](const HostDocument* d) { return document("Bd.firstObject", d).objects.first; };
    bd.firstMaterial = [](const HostDocument* d) { return document("Bd.firstMaterial", d).materials.first; };
    bd.selectedObjects = [](const HostDocument* d, HostArray* a, int32_t flags) {
        HostDocument& doc = document("Bd.selectedObjects", d);
        HostArray& result = array("Bd.selectedObjects", a);
        if (flags != HOST_SELECTION_ALL) fault("Bd.selectedObjects", "only selection flags 0 are known");
        result.entries.clear();
        for (HostElement* o = doc.objects.first; o; o = nextInPreOrder(o)) {
            if (o->selected) result.entries.push_back(o);
        }
        return true;
    };
    bd.selectedMaterials = [](const HostDocument* d, HostArray* a) {
        HostDocument& doc = document("Bd.selectedMaterials", d);
        HostArray& result = array("Bd.selectedMaterials", a);
        result.entries.clear();
        for (HostElement* m = doc.materials.first; m; m = m->next) {
            if (m->selected) result.entries.push_back(m);
        }
        return true;
    };
    bd.activeRenderSettings = [](const HostDocument* d) -> HostElement* {
        for (HostElement* r = document("Bd.activeRenderSettings", d).renderSettings.first; r; r = r->next) {
            if (asRenderSettings(*r).active) return r;
        }
        return nullptr;
    };
    bd.firstRenderSettings = [](const HostDocument* d) {
        return document("Bd.firstRenderSettings", d).renderSettings.first;
    };
    bd.setActiveObject = [](HostDocument* d, HostElement* object, int32_t mode) {
        HostDocument& doc = shownDocument("Bd.setActiveObject", d);
        HostElement& o = elementIn("Bd.setActiveObject", doc, object, ElementKind::Object);
        if (mode != HOST_SELECT_ONLY) fault("Bd.setActiveObject", "only selection mode 0 is known");
        scene().makeActive(doc, o);
    };
    bd.setActiveMaterial = [](HostDocument* d, HostElement* material, int32_t mode) {
        HostDocument& doc = shownDocument("Bd.setActiveMaterial", d);
        HostElement& m = elementIn("Bd.setActiveMaterial", doc, material, ElementKind::Material);
        if (mode != HOST_SELECT_ONLY) fault("Bd.setActiveMaterial", "only selection mode 0 is known");
        scene().makeActive(doc, m);
    };
}

void fillMaterials(HostMaterialTable& mt) {
    mt.channel = [](const HostElement* material, int32_t number) -> HostChannel* {
        const Material& m = asMaterial(element("Mt.channel", material, ElementKind::Material));
        if (number < 0 || number >= HOST_MATERIAL_CHANNEL_COUNT) return nullptr;
        return m.channels[size_t(number)].get();
    };
    mt.channelShader = [](const HostChannel* channel) {
        handles().check("Mt.channelShader", channel, HandleKind::Channel);
        return channel->shader.first;
    };
    mt.reflectanceShaders = [](const HostElement* material, HostArray* a) {
        const Material& m = asMaterial(element("Mt.reflectanceShaders", material, ElementKind::Material));
        HostArray& result = array("Mt.reflectanceShaders", a);
        result.entries.clear();
        if (const auto& channel = m.channels[size_t(HOST_CHANNEL_REFLECTANCE)]) {
            for (HostElement* s = channel->reflectance.first; s; s = s->next) result.entries.push_back(s);
        }
        return true;
    };
    mt.update = [](HostElement* material, bool preview, bool render) {
        HostElement& m = element("Mt.update", material);
        requireKind(m, ElementKind::Material, "Mt.update");
        scene().notices.materialUpdates.push_back({m.id, preview, render});
    };
}

// Each request is checked as a whole before it may be refused: a faulty
// request is a fault even when it would have been refused.
void fillUndo(HostUndoTable& bu) {
    bu.startGroup = [](HostDocument* d) {
        HostDocument& doc = document("Bu.startGroup", d);
        if (doc.undo.open) fault("Bu.startGroup", "an undo group is open already (groups do not nest)");
        if (!services().undoAllowed()) return false;
        startUndoGroup(doc);
        return true;
    };
    bu.addStep = [](HostDocument* d, int32_t kind, HostElement* e, void*) {
        HostDocument& doc = document("Bu.addStep", d);
        HostElement& checked = element("Bu.addStep", e);
        if (kind != HOST_UNDO_DELETE && kind != HOST_UNDO_NEW && kind != HOST_UNDO_MOVE)
            fault("Bu.addStep", "undo step kind " + std::to_string(kind) + " is not known");
        elementIn("Bu.addStep", doc, e, checked.kind);
        if (!doc.undo.open) fault("Bu.addStep", "no undo group is open");
        if (!services().undoAllowed()) return false;
        if (kind == HOST_UNDO_DELETE) recordDeletion(doc, checked);
        if (kind == HOST_UNDO_NEW) recordNew(doc, checked);
        if (kind == HOST_UNDO_MOVE) recordMove(doc, checked);
        return true;
    };
    bu.endGroup = [](HostDocument* d) {
        HostDocument& doc = document("Bu.endGroup", d);
        if (!doc.undo.open) fault("Bu.endGroup", "no undo group is open");
        if (!services().undoAllowed()) return false;
        endUndoGroup(doc);
        return true;
    };
    bu.cancelGroup = [](HostDocument* d) { cancelUndoGroup(scene(), document("Bu.cancelGroup", d)); };
}

void fillValues(TableStorage& t) {
    t.ln.resolve = [](const HostLink* link, const HostDocument* d) -> HostElement* {
        handles().check("Ln.resolve", link, HandleKind::Link);
        HostDocument& doc = document("Ln.resolve", d);
        HostElement* target = link->target ? scene().elementById(link->target) : nullptr;
        return target && documentOf(*target) == &doc ? target : nullptr;
    };

    t.gv.create = []() { return createObject<HostValue>(HandleKind::Value); };
    t.gv.free = [](HostValue* v) {
        clearValue(value("Gv.free", v));
        freeObject(v);
    };
    t.gv.type = [](const HostValue* v) { return value("Gv.type", v).type; };
    t.gv.link = [](const HostValue* v) -> HostLink* {
        HostValue& checked = value("Gv.link", v);
        return checked.type == HOST_DATA_TYPE_LINK ? &checked.link : nullptr;
    };

    t.at.create = []() { return createObject<HostArray>(HandleKind::Array); };
    t.at.free = [](HostArray* a) { freeObject(&array("At.free", a)); };
    t.at.count = [](const HostArray* a) { return int32_t(array("At.count", a).entries.size()); };
    t.at.entry = [](const HostArray* a, int32_t index) {
        HostArray& checked = array("At.entry", a);
        if (index < 0 || size_t(index) >= checked.entries.size()) {
            fault("At.entry", "index " + std::to_string(index) + " outside 0.." +
                                  std::to_string(int64_t(checked.entries.size()) - 1));
        }
        return checked.entries[size_t(index)];
    };
}

void fillLayerShaderLibrary(HostLayerShaderLibrary& library) {
    library.firstLayer = [](const HostElement* layerShader) -> HostLayer* {
        const Shader& s = asShader(element("firstLayer", layerShader, ElementKind::Shader));
        return s.layers.empty() ? nullptr : s.layers.front().get();
    };
    library.nextLayer = [](const HostLayer* l) -> HostLayer* {
        const auto& layers = asShader(*layer("nextLayer", l).layerShader).layers;
        return l->index + 1 < layers.size() ? layers[l->index + 1].get() : nullptr;
    };
    library.kind = [](const HostLayer* l) { return layer("layer kind", l).kind; };
    library.getParameter = [](const HostLayer* l, int32_t id, HostValue* v) {
        const HostLayer& checked = layer("getParameter", l);
        HostValue& result = value("getParameter", v);
        if (checked.kind != HOST_LAYER_KIND_SHADER || id != HOST_LAYER_PARAMETER_LINK) {
            clearValue(result);
            return false;
        }
        setValueLink(result, checked.link);
        return true;
    };
}

void fillRegistry(HostPluginTable& pr) {
    pr.find = [](int32_t id, int32_t kind) { return scene().findPlugin(id, kind); };
    pr.name = [](const HostPluginRecord* record) { return newModuleString(plugin("Pr.name", record).name); };
    pr.kind = [](const HostPluginRecord* record) { return plugin("Pr.kind", record).kind; };
}
}  // namespace

void Scene::fill(TableStorage& tables) {
    fillGeneral(tables.ge);
    fillElements(tables);
    fillDocuments(tables.bd);
    fillMaterials(tables.mt);
    fillUndo(tables.bu);
    fillValues(tables);
    fillLayerShaderLibrary(tables.layerShaderLibrary);
    fillRegistry(tables.pr);
}

}  // namespace substitute
