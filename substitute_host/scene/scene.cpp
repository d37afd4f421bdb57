#include "scene/scene.h"

#include <algorithm>
#include <array>

#include "core/fault.h"
#include "core/substitute_host.h"
#include "scene/built_in_plugins.h"

namespace substitute {
namespace {
HandleRegistry& handles() { return SubstituteHost::current().handles; }
}  // namespace

Scene::Scene() = default;
Scene::~Scene() { clear(); }

void Scene::clear() {
    while (!documents_.empty()) closeDocument(documents_.back().get());
    while (!hidden_.empty()) freeHiddenDocument(hidden_.back().get());
    setPlugins({});
    for (auto& record : builtIns_) handles().remove(record.get());
    builtIns_.clear();
    notices = {};
}

// ---- Documents -------------------------------------------------------------------

HostDocument* Scene::newDocument() { return adoptDocument(std::make_unique<HostDocument>()); }

HostDocument* Scene::adoptDocument(std::unique_ptr<HostDocument> document) {
    HostDocument* result = document.get();
    handles().add(result, HandleKind::Document);
    documents_.push_back(std::move(document));
    if (active_ == nullptr) active_ = result;
    return result;
}

void Scene::closeDocument(HostDocument* document) {
    auto found =
        std::find_if(documents_.begin(), documents_.end(), [&](const auto& owned) { return owned.get() == document; });
    if (found == documents_.end()) return;
    std::unique_ptr<HostDocument> owned = std::move(*found);
    documents_.erase(found);
    if (active_ == document) active_ = nullptr;
    deleteDocument(owned.get());
}

void Scene::discardDocument(std::unique_ptr<HostDocument> document) { deleteDocument(document.get()); }

void Scene::deleteDocument(HostDocument* document) {
    for (ElementList* list : {&document->objects, &document->materials, &document->renderSettings}) {
        while (list->first) freeElement(list->first);
    }
    document->undo = {};
    handles().remove(document);
}

void Scene::setActiveDocument(HostDocument* document) {
    if (document) handles().check("setActiveDocument", document, HandleKind::Document);
    if (document) requireShown(*document, "setActiveDocument");
    active_ = document;
}

// ---- Hidden documents ----------------------------------------------------------------

HostDocument* Scene::adoptHiddenDocument(std::unique_ptr<HostDocument> document) {
    document->hidden = true;
    HostDocument* result = document.get();
    handles().add(result, HandleKind::Document);
    hidden_.push_back(std::move(document));
    mostHiddenAtOnce = std::max(mostHiddenAtOnce, hidden_.size());
    return result;
}

void Scene::freeHiddenDocument(HostDocument* document) {
    auto found =
        std::find_if(hidden_.begin(), hidden_.end(), [&](const auto& owned) { return owned.get() == document; });
    if (found == hidden_.end()) fault("freeHiddenDocument", "the document is not a hidden one");
    std::unique_ptr<HostDocument> owned = std::move(*found);
    hidden_.erase(found);
    // The stable ids of a hidden document that holds the latest ones go back
    // to the pool: nothing else can know them (only its own undo history, which
    // ends with it, holds those of elements it removed), and a folder run of
    // many files then keeps the id table as small as its largest file needs.
    std::vector<uint64_t> ids;
    for (ElementList* list : {&owned->objects, &owned->materials, &owned->renderSettings}) {
        for (HostElement* top = list->first; top; top = top->next) {
            for (const HostElement* element : subtree(top)) ids.push_back(element->id);
        }
    }
    UndoHistory& undo = owned->undo;
    for (std::vector<UndoGroup>* groups : {&undo.done, &undo.undone}) {
        for (UndoGroup& group : *groups) {
            for (UndoStep& step : group.steps) {
                ids.push_back(step.element);
                if (step.snapshot) {
                    for (const HostElement* element : subtree(step.snapshot.get())) ids.push_back(element->id);
                }
            }
        }
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    const uint64_t lowest = ids.empty() ? nextId_ : ids.front();
    deleteDocument(owned.get());
    if (ids.size() == nextId_ - lowest) {
        nextId_ = lowest;
        byId_.resize(std::min(byId_.size(), size_t(lowest)));
    }
}

void Scene::requireShown(const HostDocument& document, const char* operation) {
    if (document.hidden) fault(operation, "the document is a hidden one, which is never shown");
}

// ---- Building ----------------------------------------------------------------------

HostElement* Scene::createElement(ElementKind kind, std::string_view name, int32_t type) {
    HostElement* element = newElement(kind);
    element->name.assign(name);
    element->type = type;
    element->id = nextId_++;
    registerHandles(*element);
    return element;
}

void Scene::registerHandles(HostElement& element) {
    handles().add(&element, HandleKind::Element);
    if (element.id >= byId_.size()) byId_.resize(std::max<size_t>(element.id + 1, 2 * byId_.size()));
    byId_[element.id] = &element;
    if (element.kind == ElementKind::Material) {
        for (auto& channel : asMaterial(element).channels) {
            if (channel) handles().add(channel.get(), HandleKind::Channel);
        }
    }
    if (element.kind == ElementKind::Shader) {
        for (auto& layer : asShader(element).layers) handles().add(layer.get(), HandleKind::Layer);
    }
}

HostElement* Scene::createIn(ElementList& list, std::string_view name, int32_t type) {
    HostElement* element = createElement(kindHeldBy(list.role), name, type);
    append(list, element);
    return element;
}

HostElement* Scene::addObject(HostDocument& document, HostElement* parent, std::string_view name, int32_t type) {
    if (parent) requireKind(*parent, ElementKind::Object, "addObject");
    return createIn(parent ? asObject(*parent).children : document.objects, name, type);
}

HostElement* Scene::addTag(HostElement& object, std::string_view name, int32_t type) {
    requireKind(object, ElementKind::Object, "addTag");
    return createIn(asObject(object).tags, name, type);
}

HostElement* Scene::addMaterial(HostDocument& document, std::string_view name, int32_t type) {
    return createIn(document.materials, name, type);
}

HostChannel& Scene::addChannel(HostElement& material, int32_t number) {
    requireKind(material, ElementKind::Material, "addChannel");
    if (number < 0 || number >= HOST_MATERIAL_CHANNEL_COUNT) fault("addChannel", "channel number out of 0..14");
    auto& channel = asMaterial(material).channels[size_t(number)];
    if (!channel) {
        channel = std::make_unique<HostChannel>(&material, number);
        handles().add(channel.get(), HandleKind::Channel);
    }
    return *channel;
}

HostElement* Scene::setChannelShader(HostElement& material, int32_t number, std::string_view name, int32_t type) {
    HostChannel& channel = addChannel(material, number);
    if (channel.shader.first) freeElement(channel.shader.first);
    return createIn(channel.shader, name, type);
}

HostElement* Scene::addReflectanceShader(HostElement& material, std::string_view name, int32_t type, uint64_t owner) {
    HostElement* shader = createIn(addChannel(material, HOST_CHANNEL_REFLECTANCE).reflectance, name, type);
    asShader(*shader).ownerId = owner == material.id ? holderIsOwner : owner;
    return shader;
}

HostLayer& Scene::addLayer(HostElement& layerShader, int32_t kind) {
    requireKind(layerShader, ElementKind::Shader, "addLayer");
    auto& layers = asShader(layerShader).layers;
    layers.push_back(std::make_unique<HostLayer>(HostLayer{&layerShader, layers.size(), kind, 0}));
    handles().add(layers.back().get(), HandleKind::Layer);
    return *layers.back();
}

HostElement* Scene::addShaderLayer(HostElement& layerShader, std::string_view name, int32_t type) {
    HostLayer& layer = addLayer(layerShader, HOST_LAYER_KIND_SHADER);
    HostElement* input = createIn(asShader(layerShader).inputs, name, type);
    layer.link = input->id;
    return input;
}

HostElement* Scene::addShader(HostElement& holder, std::string_view name, int32_t type) {
    ElementList* shaders = shadersOf(holder);
    if (shaders == nullptr) fault("addShader", "render settings own no shaders");
    return createIn(*shaders, name, type);
}

HostElement* Scene::addRenderSettings(HostDocument& document, std::string_view name, bool active) {
    HostElement* settings = createIn(document.renderSettings, name, HOST_TYPE_NONE);
    if (active) setActiveRenderSettings(*settings);
    return settings;
}

HostElement* Scene::addVideoPost(HostElement& renderSettings, std::string_view name, int32_t type) {
    requireKind(renderSettings, ElementKind::RenderSettings, "addVideoPost");
    return createIn(asRenderSettings(renderSettings).videoPosts, name, type);
}

void Scene::setActiveRenderSettings(HostElement& renderSettings) {
    requireKind(renderSettings, ElementKind::RenderSettings, "setActiveRenderSettings");
    if (renderSettings.list) {
        for (HostElement* e = renderSettings.list->first; e; e = e->next) asRenderSettings(*e).active = false;
    }
    asRenderSettings(renderSettings).active = true;
}

// ---- Lifetimes ---------------------------------------------------------------------

HostElement* Scene::createObjectFor(int32_t type, const HostElement& replaced) {
    HostElement* object = createElement(ElementKind::Object, replaced.name, type);
    object->selected = replaced.selected;
    moduleObjects_.insert(object->id);
    return object;
}

void Scene::freeElement(HostElement* element) {
    moduleObjects_.erase(element->id);
    unlink(*element);
    for (HostElement* e : subtree(element)) {
        if (e->kind == ElementKind::Material) {
            for (auto& channel : asMaterial(*e).channels) {
                if (channel) handles().remove(channel.get());
            }
        }
        if (e->kind == ElementKind::Shader) {
            for (auto& layer : asShader(*e).layers) handles().remove(layer.get());
        }
        handles().remove(e);
        byId_[e->id] = nullptr;
        deleteElement(e);
    }
}

HostElement* Scene::copyTree(const HostElement& element) {
    auto copyOne = [](const HostElement& source) {
        HostElement* copy = newElement(source.kind);
        copy->selected = source.selected;
        copy->type = source.type;
        copy->id = source.id;
        copy->name = source.name;
        if (source.kind == ElementKind::Material) {
            for (int32_t n = 0; n < HOST_MATERIAL_CHANNEL_COUNT; ++n) {
                if (asMaterial(source).channels[size_t(n)]) {
                    asMaterial(*copy).channels[size_t(n)] = std::make_unique<HostChannel>(copy, n);
                }
            }
        }
        if (source.kind == ElementKind::Shader) {
            asShader(*copy).ownerId = asShader(source).ownerId;
            for (const auto& layer : asShader(source).layers) {
                asShader(*copy).layers.push_back(
                    std::make_unique<HostLayer>(HostLayer{copy, layer->index, layer->kind, layer->link}));
            }
        }
        if (source.kind == ElementKind::RenderSettings) {
            asRenderSettings(*copy).active = asRenderSettings(source).active;
        }
        return copy;
    };
    HostElement* root = copyOne(element);
    std::vector<std::pair<HostElement*, HostElement*>> pending{{const_cast<HostElement*>(&element), root}};
    while (!pending.empty()) {
        auto [source, copy] = pending.back();
        pending.pop_back();
        // At most two lists per channel and the owned shaders: no allocation per copied element.
        std::array<ElementList*, 2 * HOST_MATERIAL_CHANNEL_COUNT + 1> targets{};
        size_t lists = 0;
        forEachList(*copy, [&](ElementList& list) { targets[lists++] = &list; });
        size_t index = 0;
        forEachList(*source, [&](ElementList& list) {
            for (HostElement* e = list.first; e; e = e->next) {
                HostElement* child = copyOne(*e);
                append(*targets[index], child);
                pending.emplace_back(e, child);
            }
            ++index;
        });
    }
    return root;
}

void Scene::registerTree(HostElement* root) {
    for (HostElement* e : subtree(root)) {
        if (elementById(e->id)) fault("registerTree", "an element with this stable id is alive already");
        registerHandles(*e);
    }
}

HostElement* Scene::elementById(uint64_t id) const { return id < byId_.size() ? byId_[id] : nullptr; }

HostElement* Scene::ownerOf(const HostElement& shader) const {
    if (shader.list == nullptr) return nullptr;
    if (shader.list->role != ListRole::Reflectance) return shader.list->holder;
    uint64_t owner = asShader(shader).ownerId;
    if (owner == holderIsOwner) return shader.list->holder;
    return owner == noOwner ? nullptr : elementById(owner);
}

HostElement* const* Scene::tagsOfType(const HostElement& object, int32_t type, int32_t& count) {
    tagBuffer_.clear();
    for (HostElement* tag = asObject(object).tags.first; tag; tag = tag->next) {
        if (tag->type == type) tagBuffer_.push_back(tag);
    }
    count = int32_t(tagBuffer_.size());
    return tagBuffer_.data();
}

// ---- Selection -------------------------------------------------------------------------

HostElement* Scene::activeObject(const HostDocument& document) const { return elementById(document.activeObject); }
HostElement* Scene::activeMaterial(const HostDocument& document) const { return elementById(document.activeMaterial); }

void Scene::makeActive(HostDocument& document, HostElement& element) {
    if (element.kind == ElementKind::Object) {
        for (HostElement* o = document.objects.first; o; o = nextInPreOrder(o)) o->selected = false;
        document.activeObject = element.id;
    } else {
        requireKind(element, ElementKind::Material, "makeActive");
        for (HostElement* m = document.materials.first; m; m = m->next) m->selected = false;
        document.activeMaterial = element.id;
    }
    element.selected = true;
    if (onMakeActive) onMakeActive(element);
}

// ---- Plug-in registry -----------------------------------------------------------------

void Scene::setPlugins(const std::vector<PluginInfo>& plugins) {
    for (auto& record : plugins_) handles().remove(record.get());
    plugins_.clear();
    for (const PluginInfo& plugin : plugins) addPlugin(plugin);
}

void Scene::addPlugin(const PluginInfo& plugin) {
    plugins_.push_back(std::make_unique<HostPluginRecord>(HostPluginRecord{plugin.id, plugin.kind, plugin.name}));
    handles().add(plugins_.back().get(), HandleKind::PluginRecord);
}

std::vector<PluginInfo> Scene::plugins() const {
    std::vector<PluginInfo> result;
    for (const auto& record : plugins_) result.push_back({record->id, record->kind, record->name});
    return result;
}

HostPluginRecord* Scene::findPlugin(int32_t id, int32_t kind) const {
    for (const auto& record : plugins_) {
        if (record->id == id && (kind == HOST_PLUGIN_KIND_ANY || record->kind == kind)) return record.get();
    }
    if (builtIns_.empty()) {
        for (const BuiltInPlugin& plugin : builtInPlugins()) {
            builtIns_.push_back(
                std::make_unique<HostPluginRecord>(HostPluginRecord{plugin.id, plugin.kind, plugin.name}));
            handles().add(builtIns_.back().get(), HandleKind::PluginRecord);
        }
    }
    for (const auto& record : builtIns_) {
        if (record->id == id && (kind == HOST_PLUGIN_KIND_ANY || record->kind == kind)) return record.get();
    }
    return nullptr;
}

// ---- Undo ----------------------------------------------------------------------------------

bool Scene::undo(HostDocument& document) { return substitute::undo(*this, document); }
bool Scene::redo(HostDocument& document) { return substitute::redo(*this, document); }

}  // namespace substitute
