// The walk of every shader of the scene: besides the materials' channels,
// the shaders that materials, objects, tags and video posts own, and below
// every shader the shaders it holds, to any depth. Each shader is met once,
// however many ways lead to it.
#include "search_run.h"

namespace {

// A shader met at place, linked from a layer of the layer shader above it
// when inLayerShader. Answers whether it goes with the removal (and what lies
// below it with it).
bool meetOwnedShader(SearchRun& run, const ShaderPlace& place, host::Element* shader, bool inLayerShader,
                     bool removed) {
    const int32_t type = host::typeId(shader);
    if (removed) {
        if (run.missing != nullptr) sought(run, PluginType::Shader, shader, type);  // counted all the same
        return true;
    }
    if (!sought(run, PluginType::Shader, shader, type)) return false;
    const Action requested = run.request.action;
    if (requested == Action::Remove && !(inLayerShader && run.request.keepLayerShaders)) {
        planRemoval(run, shader);
        return true;
    }
    // A kept shader is listed as Generate List would list it.
    if (requested == Action::Remove) keptInLayerShader(run, shader);
    if (requested == Action::Remove && run.missing != nullptr) {
        const bool ofObject = place.ownerType == PluginType::Object || place.ownerType == PluginType::Tag;
        keepShader(run, shader, ofObject ? place.owner : nullptr, place.object);
        return false;
    }
    const Action action = requested == Action::Remove ? Action::GenerateList : requested;
    if (action == Action::GenerateList && run.missing == nullptr) {
        if (!addOwnedShaderRow(run.store, place.owner, place.ownerType, place.object, place.channel, inLayerShader))
            run.outcome.outOfMemory = true;
    } else {
        meetInstance(run, action, shader, PluginType::Shader, nullptr, nullptr, place.channel, inLayerShader);
    }
    return false;
}

// Marks in linked the shaders that the layers of layerShader link to.
bool markLayerLinks(host::Element* layerShader, ElementMap& linked) {
    const host::Document* document = host::documentOf(layerShader);
    host::Value value;
    if (!value.valid()) return false;
    for (const HostLayer* layer = host::firstLayer(layerShader); layer != nullptr; layer = host::nextLayer(layer)) {
        host::Element* shader = linkedShader(layer, document, value);
        if (shader != nullptr && !linked.set(shader, 0)) return false;
    }
    return true;
}

// The shaders from first and its following ones, each followed by those
// below it, depth first.
void walkShaderList(SearchRun& run, const ShaderPlace& place, host::Element* first, bool removed, ElementMap& linked) {
    struct Level {
        host::Element* next;  // the next shader of this level to meet
        bool removed;         // the shaders of this level go with a removal above them
    };
    host::Vector<Level> levels;
    if (first != nullptr && !levels.push({first, removed})) run.outcome.outOfMemory = true;
    while (!levels.empty() && !walkStops(run)) {
        Level& level = levels.back();
        host::Element* shader = level.next;
        if (shader == nullptr) {
            levels.pop();
            continue;
        }
        level.next = host::next(shader);
        const bool removedAbove = level.removed;
        const bool inLayerShader = linked.find(shader) != nullptr;
        if (!firstMeeting(run, shader, inLayerShader)) continue;
        const bool goes = meetOwnedShader(run, place, shader, inLayerShader, removedAbove);
        // What goes whole lists nothing below it; a missing-plugins walk counts it.
        if (walkStops(run) || (goes && run.missing == nullptr)) continue;
        host::Element* below = host::firstShaderBelow(shader);
        if (below == nullptr) continue;
        if (host::typeId(shader) == HOST_LAYER_SHADER_TYPE && !markLayerLinks(shader, linked)) {
            run.outcome.outOfMemory = true;
        } else if (!levels.push({below, goes})) {
            run.outcome.outOfMemory = true;
        }
    }
}

void walkVideoPostShaders(SearchRun& run) {
    for (host::Element* settings = host::firstRenderSettings(run.document); settings != nullptr && !walkStops(run);
         settings = host::next(settings)) {
        for (host::Element* videoPost = host::firstVideoPost(settings); videoPost != nullptr && !walkStops(run);
             videoPost = host::next(videoPost)) {
            walkOwnedShaders(run, {videoPost, PluginType::PostEffect, nullptr, -1}, false);
        }
    }
}

}  // namespace

bool walkStops(const SearchRun& run) {
    return run.outcome.outOfMemory ||
           (run.everyShader && run.request.action == Action::Identify && run.outcome.foundType.has_value());
}

namespace {
// Marks of SearchRun::metShaders.
constexpr int32_t metOnce = 0;
constexpr int32_t metKept = 1;  // an instance a removal keeps in a layer shader
}  // namespace

bool firstMeeting(SearchRun& run, host::Element* shader, bool inLayerShader) {
    int32_t* mark = run.metShaders.find(shader);
    if (mark == nullptr) {
        if (run.metShaders.set(shader, metOnce)) return true;
        run.outcome.outOfMemory = true;
        return false;
    }
    // Kept in a layer shader where it was met first, but held outside one
    // here too (a damaged scene): the removal takes it.
    if (*mark == metKept && !inLayerShader && run.request.action == Action::Remove) {
        *mark = metOnce;
        planRemoval(run, shader);
    }
    return false;
}

void keptInLayerShader(SearchRun& run, host::Element* shader) {
    if (int32_t* mark = run.metShaders.find(shader)) *mark = metKept;
}

void walkShadersBelow(SearchRun& run, const ShaderPlace& place, host::Element* shader, bool removed) {
    host::Element* below = host::firstShaderBelow(shader);
    if (below == nullptr) return;
    ElementMap linked;
    if (host::typeId(shader) == HOST_LAYER_SHADER_TYPE && !markLayerLinks(shader, linked)) {
        run.outcome.outOfMemory = true;
        return;
    }
    walkShaderList(run, place, below, removed, linked);
}

void walkOwnedShaders(SearchRun& run, const ShaderPlace& place, bool removed) {
    host::Element* first = host::firstShader(place.owner);
    if (first == nullptr) return;
    ElementMap linked;
    walkShaderList(run, place, first, removed, linked);
}

void walkObjectShaders(SearchRun& run, host::Element* object) {
    if (walkStops(run)) return;
    const bool removing = run.request.action == Action::Remove;
    // An object's own shaders go with it, even when a Null keeps its children.
    walkOwnedShaders(run, {object, PluginType::Object, object, -1}, removing && isPlanned(run, object));
    for (host::Element* tag = host::firstTag(object); tag != nullptr && !walkStops(run); tag = host::next(tag)) {
        walkOwnedShaders(run, {tag, PluginType::Tag, object, -1}, removing && isPlanned(run, tag));
    }
}

void walkEveryShader(SearchRun& run) {
    if (seeksNothing(run)) return;
    run.everyShader = true;
    walkMaterials(run, host::firstMaterial(run.document), 0);
    if (host::Element* first = host::firstObject(run.document); first != nullptr && !walkStops(run))
        walkObjectsForShaders(run, first);
    if (!walkStops(run)) walkVideoPostShaders(run);
    // Shown once the removal is made, as it speaks of what was removed.
    if (run.request.action == Action::Remove && !run.store.records.empty()) ++run.outcome.shadersLeftNotices;
    walkEnded(run);
}
