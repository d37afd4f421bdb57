// The scene: the application's documents and their elements, the plug-in
// registry, and what the scene operations noticed (counters for tests).
//
// Elements are built through this class (scene files, tests, undo) so that
// every element is a live Element handle with a stable id from its creation
// until freeElement ends its life.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/table_storage.h"
#include "input/input_files.h"
#include "scene/scene_model.h"

namespace substitute {

// What the module told the scene, in order.
struct SceneNotices {
    struct MaterialUpdate {
        uint64_t material;  // stable id
        bool preview, render;
    };
    struct Message {
        uint64_t element;  // stable id
        int32_t id;
    };
    std::vector<int32_t> sceneChanges;                    // flags of each notice
    std::vector<std::array<int32_t, 3>> backgroundStops;  // kinds, reason and wait of each call
    std::vector<MaterialUpdate> materialUpdates;
    std::vector<Message> messages;
};

class Scene {
public:
    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    void fill(TableStorage& tables);
    // Closes every document and empties the registry.
    void clear();

    // ---- Documents -----------------------------------------------------------
    // A new empty document; it becomes the active one when there is none.
    HostDocument* newDocument();
    // Takes a document built elsewhere (e.g. by a scene file loader).
    HostDocument* adoptDocument(std::unique_ptr<HostDocument> document);
    void closeDocument(HostDocument* document);
    // Ends a document that was built but never adopted, with all its elements.
    void discardDocument(std::unique_ptr<HostDocument> document);
    HostDocument* activeDocument() const { return active_; }
    void setActiveDocument(HostDocument* document);  // null: no active document
    const std::vector<std::unique_ptr<HostDocument>>& documents() const { return documents_; }

    // ---- Hidden documents ------------------------------------------------------
    // Takes a document read for the module alone: never active, never among
    // documents(); the module frees it with freeHiddenDocument.
    HostDocument* adoptHiddenDocument(std::unique_ptr<HostDocument> document);
    void freeHiddenDocument(HostDocument* document);
    size_t hiddenDocumentCount() const { return hidden_.size(); }
    // How many hidden documents the module asked for (read or not), and the
    // most it held at once.
    int64_t hiddenLoads = 0;
    size_t mostHiddenAtOnce = 0;
    // Faults (naming operation) when document is hidden: no one sees those,
    // so the module sets no selection in them.
    static void requireShown(const HostDocument& document, const char* operation);

    // ---- Scene files the module asks for --------------------------------------------
    // The largest scene file read for the module (the driver's --input-limit).
    uint64_t fileLimit = defaultInputLimit;
    // Called with the file after the module opened it as the active document.
    std::function<void(const std::filesystem::path&)> onOpenDocument;

    // ---- Building ------------------------------------------------------------
    // New elements appended at the end of their list. parent null: top level.
    HostElement* addObject(HostDocument& document, HostElement* parent, std::string_view name, int32_t type);
    HostElement* addTag(HostElement& object, std::string_view name, int32_t type);
    HostElement* addMaterial(HostDocument& document, std::string_view name, int32_t type);
    // Creates channel number (0..14) of material if absent.
    HostChannel& addChannel(HostElement& material, int32_t number);
    // The shader of channel number (created if absent); one shader per channel.
    HostElement* setChannelShader(HostElement& material, int32_t number, std::string_view name, int32_t type);
    // A shader of the reflectance layers (channel 3, created if absent).
    // owner: holderIsOwner, noOwner or the stable id of another material.
    HostElement* addReflectanceShader(HostElement& material, std::string_view name, int32_t type,
                                      uint64_t owner = holderIsOwner);
    // A shader layer linking a new input shader of layerShader.
    HostElement* addShaderLayer(HostElement& layerShader, std::string_view name, int32_t type);
    // A layer of another kind, or a shader layer whose link resolves to nothing.
    HostLayer& addLayer(HostElement& layerShader, int32_t kind);
    // A shader that holder (an object, tag, material or video post) owns, or
    // one below holder (a shader) that no layer links to.
    HostElement* addShader(HostElement& holder, std::string_view name, int32_t type);
    HostElement* addRenderSettings(HostDocument& document, std::string_view name, bool active);
    HostElement* addVideoPost(HostElement& renderSettings, std::string_view name, int32_t type);
    void setActiveRenderSettings(HostElement& renderSettings);

    // ---- Lifetimes -----------------------------------------------------------------
    // A new registered element with a fresh stable id, not linked.
    HostElement* createElement(ElementKind kind, std::string_view name, int32_t type);
    // Ends the life of element and of everything below it (unlinking it first).
    void freeElement(HostElement* element);
    // An object the module asked for, standing in for replaced: registered,
    // not linked, the module's until it is inserted or freed.
    HostElement* createObjectFor(int32_t type, const HostElement& replaced);
    // The module's object is now the document's.
    void inserted(const HostElement& object) { moduleObjects_.erase(object.id); }
    // Objects the module made and neither inserted nor freed, for leak checks.
    int64_t moduleObjects() const { return int64_t(moduleObjects_.size()); }
    // A deep copy of element's subtree with the same stable ids; detached:
    // neither linked nor registered.
    static HostElement* copyTree(const HostElement& element);
    // Registers a detached tree: its elements, channels and layers become live.
    void registerTree(HostElement* root);
    // The live element with this stable id, or null.
    HostElement* elementById(uint64_t id) const;

    // The element that owns shader (the object, tag, material, video post or
    // shader it lies in, or a reflectance shader's owner), or null.
    HostElement* ownerOf(const HostElement& shader) const;
    // The object's tags of this type, in a buffer that stays valid until the next call.
    HostElement* const* tagsOfType(const HostElement& object, int32_t type, int32_t& count);

    // ---- Selection -------------------------------------------------------------------
    HostElement* activeObject(const HostDocument& document) const;
    HostElement* activeMaterial(const HostDocument& document) const;
    // Makes element the active and only selected object / material.
    void makeActive(HostDocument& document, HostElement& element);
    // Called after makeActive with the element made active (the driver prints it).
    std::function<void(const HostElement&)> onMakeActive;

    // ---- Plug-in registry -------------------------------------------------------------
    void setPlugins(const std::vector<PluginInfo>& plugins);
    void addPlugin(const PluginInfo& plugin);
    std::vector<PluginInfo> plugins() const;
    // Installed plug-in with this id and kind (0 any), or null: the file's
    // records first, then the application's built-in types (a file's record
    // of the same id and kind stands for the built-in one).
    HostPluginRecord* findPlugin(int32_t id, int32_t kind) const;

    // ---- Undo (what the user does with Edit > Undo / Redo) ----------------------------
    bool undo(HostDocument& document);
    bool redo(HostDocument& document);
    size_t undoCount(const HostDocument& document) const { return document.undo.done.size(); }
    size_t redoCount(const HostDocument& document) const { return document.undo.undone.size(); }

    SceneNotices notices;

private:
    // A new element of the kind list holds, appended to it.
    HostElement* createIn(ElementList& list, std::string_view name, int32_t type);
    void registerHandles(HostElement& element);
    void deleteDocument(HostDocument* document);

    std::vector<std::unique_ptr<HostDocument>> documents_;
    std::vector<std::unique_ptr<HostDocument>> hidden_;
    HostDocument* active_ = nullptr;
    // Live elements by stable id: ids are handed out in sequence, so the id is
    // the index (null: not alive).
    std::vector<HostElement*> byId_;
    uint64_t nextId_ = 1;
    std::vector<std::unique_ptr<HostPluginRecord>> plugins_;
    // Made at the first look-up, as handles of the running host; never saved.
    mutable std::vector<std::unique_ptr<HostPluginRecord>> builtIns_;
    std::vector<HostElement*> tagBuffer_;  // what tagsOfType handed out last
    std::unordered_set<uint64_t> moduleObjects_;
};

// One line per element of document in file order, each level indented by
// two more spaces up to a depth of 32; names are shown printable (a tab as \t):
//   objects:
//     Cube [5159] (selected)          an object: name [type id]
//       #Legacy [1234]                  a tag of it
//         shader: Noise [1011116]         a shader the tag owns
//       shader: Deform [1234]           a shader the object owns (a video post's the same)
//       Sphere [5160]                   a child object
//   materials:
//     Mat [5703]
//       channel 0                       a present channel
//         Noise [1011116]                 its shader
//       channel 3
//         reflectance: Layers [1011123]   a shader of the reflectance layers
//           layer 1 (kind 2)                a shader layer
//             X [1234]                        the shader it links to
//           layer 2 (kind 2): unresolved    a shader layer whose link resolves to nothing
//           layer 3 (kind 1)                a layer of another kind
//           shader: Below [1234]            a shader below it that no layer links to
//         reflectance: Foreign [1234] (owner: Other Mat)
//       shader: Owned [1234]            a shader the material owns beside its channels
//   render settings:
//     Main (active)
//       Glow [1234]                     a video post
std::vector<std::string> describeScene(const Scene& scene, const HostDocument& document);

}  // namespace substitute
