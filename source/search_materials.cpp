// The material and layer-shader walkers over the shaders of materials.
#include "element_map.h"
#include "search.h"

namespace {

constexpr int32_t reflectanceChannel = 3;
constexpr int32_t materialUpdateMessage = 5;
constexpr const char* shadersLeftNotice =
    "Please note that not all shaders were deleted.\nIt is possible that these are within a Layer shader.\nIf so, "
    "these will be listed in the shader list.";

// One material's walk. A removal only collects its shaders here and removes
// them once the walk is over: a damaged scene may reach one shader twice, or
// a shader inside another one being removed, and nothing freed may be read.
struct MaterialWalk {
    CleartraceDialog& dialog;
    host::Document* document;
    host::Element* material;
    int32_t id;
    int32_t action;
    host::Vector<host::Element*> doomed;  // in walk order, each once
    ElementMap collected;                 // the shaders in doomed
    bool outOfMemory = false;
};

void doom(MaterialWalk& walk, host::Element* shader) {
    // A link that leads back to the material itself is no shader of it.
    if (shader == walk.material) return;
    if (!walk.collected.set(shader, 0)) {
        walk.outOfMemory = true;
    } else if (!walk.doomed.push(shader)) {
        walk.collected.erase(shader);
        walk.outOfMemory = true;
    }
}

// Removes the collected shaders in walk order, each with its undo step. All
// are unlinked before any is freed: one that lay inside a shader unlinked
// before it has left the document with that one and is not touched again.
void removeDoomed(MaterialWalk& walk) {
    host::Vector<host::Element*> detached;
    for (host::Element* shader : walk.doomed) {
        if (host::documentOf(shader) == nullptr) continue;
        if (!detached.push(shader)) break;  // out of memory: the rest stays
        detachInstance(walk.document, shader);
    }
    for (host::Element* shader : detached) host::freeElement(shader);
}

// A shader instance met in channel; inside a layer shader when inLayerShader.
void handleShader(MaterialWalk& walk, host::Element* shader, int32_t channel, bool inLayerShader) {
    // Met again after it was collected: the walk it stands for removed it already.
    if (walk.collected.find(shader) != nullptr) return;
    if (walk.action == Remove && !(inLayerShader && walk.dialog.keepLayerShaders)) {
        doom(walk, shader);
        return;
    }
    // A kept shader is listed as Generate List would list it.
    const int32_t action = walk.action == Remove ? GenerateList : walk.action;
    listOrIdentify(walk.dialog, shader, walk.id, Shader, action, walk.material, nullptr, channel, inLayerShader);
}

// The shader a layer links to, resolved in the layer shader's document, or null.
host::Element* linkedShader(const HostLayer* layer, const host::Document* document, host::Value& value) {
    if (host::layerKind(layer) != host::shaderLayerKind) return nullptr;
    if (!host::layerParameter(layer, host::layerShaderLinkParameter, value)) return nullptr;
    if (value.type() != HOST_DATA_TYPE_LINK) return nullptr;
    const HostLink* link = value.link();
    return link ? host::resolveLink(link, document) : nullptr;
}

// The layers of layerShader and of the layer shaders they link to, to any
// depth, in the order of the recursive walk. A layer shader that links back
// to one that encloses it is not walked again.
void walkLayers(MaterialWalk& walk, host::Element* layerShader, int32_t channel) {
    // Links resolve only to elements of this document, so it is the document
    // of every layer shader met below as well.
    const host::Document* document = host::documentOf(layerShader);
    host::Value value;
    if (document == nullptr || !value.valid()) return;
    struct Frame {
        host::Element* layerShader;
        HostLayer* layer;  // the next layer to look at
    };
    host::Vector<Frame> frames;
    ElementMap open;  // the layer shaders of frames
    const auto enter = [&](host::Element* shader) {
        if (!open.set(shader, 0)) return false;
        if (frames.push({shader, host::firstLayer(shader)})) return true;
        open.erase(shader);
        return false;
    };
    const auto leave = [&] {
        open.erase(frames.back().layerShader);
        frames.pop();
    };
    if (!enter(layerShader)) walk.outOfMemory = true;
    while (!frames.empty() && !walk.outOfMemory) {
        Frame& frame = frames.back();
        const HostLayer* layer = frame.layer;
        if (layer == nullptr) {
            leave();
            continue;
        }
        frame.layer = host::nextLayer(layer);
        host::Element* shader = linkedShader(layer, document, value);
        if (shader == nullptr) continue;
        const int32_t type = host::typeId(shader);
        if (type == walk.id) {
            handleShader(walk, shader, channel, true);
            if (walk.action == Identify) leave();  // the rest of this layer shader is not looked at
        } else if (type == host::layerShaderType && open.find(shader) == nullptr) {
            walk.outOfMemory = !enter(shader);
        }
    }
}

// A shader met directly in a channel or a reflectance layer. Answers whether
// the walk of the material's place goes on.
bool handlePlace(MaterialWalk& walk, host::Element* shader, int32_t channel) {
    const int32_t type = host::typeId(shader);
    if (type == walk.id) {
        handleShader(walk, shader, channel, false);
        return walk.action != Identify;
    }
    if (type == host::layerShaderType) walkLayers(walk, shader, channel);
    return true;
}

// The shaders of the reflectance layers that the material owns.
void walkReflectance(MaterialWalk& walk, host::ElementArray& list) {
    if (!host::reflectanceShaders(walk.material, list)) return;
    for (int32_t i = 0; i < list.count() && !walk.outOfMemory; ++i) {
        host::Element* shader = list.entry(i);
        if (shader == nullptr || host::shaderOwner(shader) != walk.material) continue;
        if (!handlePlace(walk, shader, reflectanceChannel)) return;
    }
}

void walkChannels(MaterialWalk& walk, host::ElementArray& reflectance) {
    for (int32_t c = 0; c < channelCount && !walk.outOfMemory; ++c) {
        const HostChannel* channel = host::channel(walk.material, c);
        if (channel == nullptr) continue;
        if (c == reflectanceChannel) {
            walkReflectance(walk, reflectance);
            continue;
        }
        host::Element* shader = host::channelShader(channel);
        if (shader != nullptr && !handlePlace(walk, shader, c)) return;
    }
}

}  // namespace

void walkMaterials(CleartraceDialog& dialog, host::Document* document, host::Element* material, int32_t id,
                   int32_t scope, int32_t action) {
    if (id == 0) return;
    host::ElementArray reflectance;  // filled per material; a failed creation finds nothing there
    for (host::Element* current = material; current != nullptr;) {
        MaterialWalk walk{dialog, document, current, id, action, {}, {}, false};
        walkChannels(walk, reflectance);
        removeDoomed(walk);
        host::updateMaterial(current, true, true);
        host::sendMessage(current, materialUpdateMessage);
        if (walk.outOfMemory || scope != 0) break;
        current = host::next(current);
    }
    if (action == Remove && !dialog.results.empty()) host::messageBox(shadersLeftNotice, host::styleNotice);
    host::sceneChanged();
}

void walkLayerShader(CleartraceDialog& dialog, host::Document* document, host::Element* layerShader, int32_t id,
                     host::Element* material, int32_t channel, int32_t action) {
    MaterialWalk walk{dialog, document, material, id, action, {}, {}, false};
    walkLayers(walk, layerShader, channel);
    removeDoomed(walk);
}
