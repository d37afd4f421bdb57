// The application's scene model: documents, their elements and the lists that
// hold them.
//
// Every element lives in at most one intrusive doubly-linked list (a
// document's objects, an object's children or tags, a channel's shader, the
// reflectance layers of a material, the shaders an object, tag, material or
// video post owns, the shaders below a shader, the video posts of render
// settings) and knows that list, so unlinking is O(1) and the
// parent is found through the list's holder. Every element carries a stable id
// that survives undo: links and undo places refer to elements by that id.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/host_tables.h"
#include "scene/undo.h"

namespace substitute {

struct PluginInfo {
    int32_t id;
    int32_t kind;  // host plug-in kind: 1 shader, 5 object, 6 tag, 8 video post ...
    std::string name;
};

enum class ElementKind : uint8_t { Object, Tag, Material, Shader, VideoPost, RenderSettings };
// "an object", "a tag" ... for messages.
const char* elementKindName(ElementKind kind);

// What a list is, and so which kind of element it holds.
enum class ListRole : uint8_t {
    Objects,         // a document's top-level objects
    Materials,       // a document's materials
    RenderSettings,  // a document's render settings
    Children,        // an object's child objects
    Tags,            // an object's tags
    ChannelShader,   // the one shader of a material channel
    Reflectance,     // the shaders of the reflectance layers (channel 3)
    Inputs,          // the shaders below a shader (those a layer shader's layers link to among them)
    Shaders,         // the shaders an object, tag, material or video post owns
    VideoPosts,      // the video posts of render settings
};

struct ElementList {
    explicit ElementList(ListRole listRole) : role(listRole) {}
    ElementList(const ElementList&) = delete;
    ElementList& operator=(const ElementList&) = delete;

    ListRole role;
    int32_t channel = -1;              // channel number, for a channel's lists
    HostDocument* document = nullptr;  // holder of a document's own list
    HostElement* holder = nullptr;     // holder of an element's list
    HostElement* first = nullptr;
    HostElement* last = nullptr;

    bool empty() const { return first == nullptr; }
};

// A reflectance shader's owner: the material holding it unless ownerId says
// otherwise (noOwner: owned by nothing).
inline constexpr uint64_t holderIsOwner = 0;
inline constexpr uint64_t noOwner = UINT64_MAX;

}  // namespace substitute

struct HostElement {
    explicit HostElement(substitute::ElementKind elementKind) : kind(elementKind) {}
    substitute::ElementKind kind;
    bool selected = false;
    int32_t type = 0;
    uint64_t id = 0;
    std::string name;
    substitute::ElementList* list = nullptr;  // null while unlinked
    // The document it lies in through its holders; null when it or one of them
    // is unlinked. Kept by insertAfter and unlink, so the question costs nothing.
    HostDocument* document = nullptr;
    HostElement* previous = nullptr;
    HostElement* next = nullptr;
};

struct HostChannel {
    HostChannel(HostElement* material, int32_t number);
    substitute::ElementList shader{substitute::ListRole::ChannelShader};     // at most one
    substitute::ElementList reflectance{substitute::ListRole::Reflectance};  // channel 3 only
};

struct HostLayer {
    HostElement* layerShader;  // the shader holding the layer
    size_t index;              // its place among the shader's layers
    int32_t kind;
    uint64_t link;  // stable id of the linked shader (shader layers); 0: none
};

struct HostLink {
    uint64_t target = 0;
};

struct HostValue {
    int32_t type = 0;  // 0 none, 14 link
    HostLink link;     // a live Link handle while type is 14
};

struct HostArray {
    std::vector<HostElement*> entries;
};

struct HostPluginRecord {
    int32_t id;
    int32_t kind;
    std::string name;
};

struct HostDocument {
    HostDocument();
    HostDocument(const HostDocument&) = delete;
    HostDocument& operator=(const HostDocument&) = delete;

    substitute::ElementList objects{substitute::ListRole::Objects};
    substitute::ElementList materials{substitute::ListRole::Materials};
    substitute::ElementList renderSettings{substitute::ListRole::RenderSettings};
    uint64_t activeObject = 0;  // stable ids; 0 none
    uint64_t activeMaterial = 0;
    substitute::UndoHistory undo;
    std::optional<std::string> schema;  // the scene file's "$schema", which save writes back
    // Read for the module to search or clean, never shown: the module may
    // change it, never select in it (see the Ge table's loadHiddenDocument).
    bool hidden = false;
    // A hidden document's file's "plugins", which saving it writes back in
    // place of the application's registry.
    std::optional<std::vector<substitute::PluginInfo>> filePlugins;
};

namespace substitute {

struct SceneObject : HostElement {
    SceneObject();
    ElementList children{ListRole::Children};
    ElementList tags{ListRole::Tags};
    ElementList shaders{ListRole::Shaders};
};

// A tag or a video post: what it is, and the shaders it owns.
struct OwningElement : HostElement {
    explicit OwningElement(ElementKind elementKind);
    ElementList shaders{ListRole::Shaders};
};

struct Material : HostElement {
    Material();
    std::array<std::unique_ptr<HostChannel>, HOST_MATERIAL_CHANNEL_COUNT> channels;  // null: channel absent
    // Its shaders besides those of its channels and reflectance layers.
    ElementList shaders{ListRole::Shaders};
};

struct Shader : HostElement {
    Shader();
    uint64_t ownerId = holderIsOwner;  // reflectance shaders only
    std::vector<std::unique_ptr<HostLayer>> layers;
    // The shaders below it: those its layers link to, and any other.
    ElementList inputs{ListRole::Inputs};
};

struct RenderSettings : HostElement {
    RenderSettings();
    bool active = false;
    ElementList videoPosts{ListRole::VideoPosts};
};

// Checked downcasts (the caller has checked the kind).
inline SceneObject& asObject(HostElement& e) { return static_cast<SceneObject&>(e); }
inline OwningElement& asOwning(HostElement& e) { return static_cast<OwningElement&>(e); }
inline Material& asMaterial(HostElement& e) { return static_cast<Material&>(e); }
inline Shader& asShader(HostElement& e) { return static_cast<Shader&>(e); }
inline RenderSettings& asRenderSettings(HostElement& e) { return static_cast<RenderSettings&>(e); }
inline const SceneObject& asObject(const HostElement& e) { return static_cast<const SceneObject&>(e); }
inline const OwningElement& asOwning(const HostElement& e) { return static_cast<const OwningElement&>(e); }
inline const Material& asMaterial(const HostElement& e) { return static_cast<const Material&>(e); }
inline const Shader& asShader(const HostElement& e) { return static_cast<const Shader&>(e); }
inline const RenderSettings& asRenderSettings(const HostElement& e) { return static_cast<const RenderSettings&>(e); }

// Faults (naming operation) unless element is of this kind.
void requireKind(const HostElement& element, ElementKind kind, const char* operation);

// A new element of this kind, not linked, not registered.
HostElement* newElement(ElementKind kind);
// Ends the life of one element (not of what is below it).
void deleteElement(HostElement* element);

// ---- Lists ------------------------------------------------------------------
// The kind of element a list holds.
ElementKind kindHeldBy(ListRole role);
// Links element into list after previous (null: at the front). Linking and
// unlinking cost the size of what lies below the element (its document is
// noted there); an element without anything below costs O(1).
void insertAfter(ElementList& list, HostElement* previous, HostElement* element);
inline void append(ElementList& list, HostElement* element) { insertAfter(list, list.last, element); }
void unlink(HostElement& element);

// The shaders element owns (an object, tag, material or video post), or
// those below it (a shader); null for render settings.
ElementList* shadersOf(HostElement& element);
inline const ElementList* shadersOf(const HostElement& element) { return shadersOf(const_cast<HostElement&>(element)); }

// Every list of an element (the places of everything directly below it), in
// file order: tags, then owned shaders, then children; channel shader before
// reflectance, the channels before the material's other shaders.
template <class F>
void forEachList(HostElement& element, F&& visit) {
    switch (element.kind) {
        case ElementKind::Object:
            visit(asObject(element).tags);
            visit(asObject(element).shaders);
            visit(asObject(element).children);
            break;
        case ElementKind::Material:
            for (auto& channel : asMaterial(element).channels) {
                if (!channel) continue;
                visit(channel->shader);
                visit(channel->reflectance);
            }
            visit(asMaterial(element).shaders);
            break;
        case ElementKind::Shader: visit(asShader(element).inputs); break;
        case ElementKind::RenderSettings: visit(asRenderSettings(element).videoPosts); break;
        case ElementKind::Tag:
        case ElementKind::VideoPost: visit(asOwning(element).shaders); break;
    }
}

// element and everything below it, parents before children.
std::vector<HostElement*> subtree(HostElement* element);

// The object that holds this object as a child; null at the top level.
HostElement* parentObject(const HostElement& element);
// The document the element is linked into (through its holders); null when
// it or one of its holders is unlinked.
inline HostDocument* documentOf(const HostElement& element) { return element.document; }
// The next object in hierarchy pre-order within the document.
HostElement* nextInPreOrder(const HostElement* object);

}  // namespace substitute
