// The material walk: the shaders of each material's channels, of its
// reflectance layers, and of layer shaders nested in them to any depth; in a
// walk over every shader, below each of them the shaders it holds, and then
// the material's other shaders.
#include "search_run.h"

namespace {

// A shader instance met in channel of material; inside a layer shader when inLayerShader.
void meetShader(SearchRun& run, host::Element* material, host::Element* shader, int32_t channel, bool inLayerShader) {
    // Met again after its removal was planned: the walk it stands for removed it already.
    // In a material that goes whole, it goes with the material.
    if (isPlanned(run, shader) || (run.request.action == Action::Remove && isPlanned(run, material))) return;
    if (run.request.action == Action::Remove && !(inLayerShader && run.request.keepLayerShaders)) {
        // A link that leads back to the material itself is no shader of it:
        // it stays, and a missing-plugins removal lists it as left.
        if (shader != material) {
            planRemoval(run, shader);
            return;
        }
        if (run.missing == nullptr) return;
    }
    // A kept shader is listed as Generate List would list it.
    if (run.everyShader && run.request.action == Action::Remove) keptInLayerShader(run, shader);
    const Action action = run.request.action == Action::Remove ? Action::GenerateList : run.request.action;
    meetInstance(run, action, shader, PluginType::Shader, material, nullptr, channel, inLayerShader);
}

// In a walk over every shader: the shaders below shader, met in a channel of
// material, follow it.
void followBelow(SearchRun& run, host::Element* material, host::Element* shader, int32_t channel) {
    if (!run.everyShader || walkStops(run)) return;
    const bool removed = run.request.action == Action::Remove && (isPlanned(run, shader) || isPlanned(run, material));
    walkShadersBelow(run, {material, PluginType::Material, nullptr, channel}, shader, removed);
}

// The layers of layerShader and of the layer shaders they link to, to any
// depth, in the order of the recursive walk. A layer shader that links back
// to one that encloses it is not walked again.
void walkLayers(SearchRun& run, host::Element* material, host::Element* layerShader, int32_t channel) {
    // Links resolve only to elements of this document, so it is the document
    // of every layer shader met below as well.
    const host::Document* document = host::documentOf(layerShader);
    if (document == nullptr) return;
    host::Value value;
    if (!value.valid()) {
        run.outcome.outOfMemory = true;
        return;
    }
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
        host::Element* left = frames.back().layerShader;
        open.erase(left);
        frames.pop();
        // The outermost one's shaders below it follow it where it was met.
        if (!frames.empty()) followBelow(run, material, left, channel);
    };
    if (!enter(layerShader)) run.outcome.outOfMemory = true;
    while (!frames.empty() && !walkStops(run)) {
        Frame& frame = frames.back();
        const HostLayer* layer = frame.layer;
        if (layer == nullptr) {
            leave();
            continue;
        }
        frame.layer = host::nextLayer(layer);
        host::Element* shader = linkedShader(layer, document, value);
        if (shader == nullptr || (run.everyShader && !firstMeeting(run, shader, true))) continue;
        const int32_t type = host::typeId(shader);
        if (sought(run, PluginType::Shader, shader, type)) {
            meetShader(run, material, shader, channel, true);
            followBelow(run, material, shader, channel);
            if (run.request.action == Action::Identify) leave();  // the rest of this layer shader is not looked at
        } else if (type == HOST_LAYER_SHADER_TYPE && open.find(shader) == nullptr) {
            if (!enter(shader)) run.outcome.outOfMemory = true;
        } else {
            followBelow(run, material, shader, channel);
        }
    }
}

// A shader met directly in a channel or a reflectance layer. Answers whether
// the walk of the material's place goes on.
bool meetPlace(SearchRun& run, host::Element* material, host::Element* shader, int32_t channel) {
    if (run.everyShader && !firstMeeting(run, shader, false)) return true;
    const int32_t type = host::typeId(shader);
    if (sought(run, PluginType::Shader, shader, type)) {
        meetShader(run, material, shader, channel, false);
        followBelow(run, material, shader, channel);
        return run.request.action != Action::Identify;
    }
    if (type == HOST_LAYER_SHADER_TYPE) walkLayers(run, material, shader, channel);
    followBelow(run, material, shader, channel);
    return true;
}

// The shaders of the reflectance layers that the material owns.
void walkReflectance(SearchRun& run, host::Element* material, host::ElementArray& list) {
    if (!host::reflectanceShaders(material, list)) {
        run.outcome.outOfMemory = true;
        return;
    }
    for (int32_t i = 0; i < list.count() && !walkStops(run); ++i) {
        host::Element* shader = list.entry(i);
        if (shader == nullptr || host::shaderOwner(shader) != material) continue;
        if (!meetPlace(run, material, shader, HOST_CHANNEL_REFLECTANCE)) return;
    }
}

void walkChannels(SearchRun& run, host::Element* material, host::ElementArray& reflectance) {
    for (int32_t c = 0; c < HOST_MATERIAL_CHANNEL_COUNT && !walkStops(run); ++c) {
        const HostChannel* channel = host::channel(material, c);
        if (channel == nullptr) continue;
        if (c == HOST_CHANNEL_REFLECTANCE) {
            walkReflectance(run, material, reflectance);
            continue;
        }
        host::Element* shader = host::channelShader(channel);
        if (shader != nullptr && !meetPlace(run, material, shader, c)) return;
    }
}

}  // namespace

void walkMaterials(SearchRun& run, host::Element* material, int32_t scope) {
    if (seeksNothing(run)) return;
    host::ElementArray reflectance;  // filled per material
    for (host::Element* current = material; current != nullptr && !walkStops(run);) {
        walkChannels(run, current, reflectance);
        const bool removedWhole = isPlanned(run, current);
        if (run.everyShader && !walkStops(run)) {
            const bool removing = run.request.action == Action::Remove;
            walkOwnedShaders(run, {current, PluginType::Material, nullptr, -1}, removing && removedWhole);
        }
        // A material that a removal takes whole needs no update.
        if (!removedWhole) materialWalked(run, current);
        if (scope != 0) break;
        current = host::next(current);
    }
    // Shown once the removal is made, as it speaks of what was removed (a
    // walk over every shader shows it once, at its end).
    if (!run.everyShader && run.request.action == Action::Remove && !run.store.records.empty())
        ++run.outcome.shadersLeftNotices;
    walkEnded(run);
}

host::Element* linkedShader(const HostLayer* layer, const host::Document* document, host::Value& value) {
    if (host::layerKind(layer) != HOST_LAYER_KIND_SHADER) return nullptr;
    if (!host::layerParameter(layer, HOST_LAYER_PARAMETER_LINK, value)) return nullptr;
    if (value.type() != HOST_DATA_TYPE_LINK) return nullptr;
    const HostLink* link = value.link();
    return link ? host::resolveLink(link, document) : nullptr;
}
