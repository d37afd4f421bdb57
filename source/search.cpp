// Instance search and removal: the process drivers, the walkers over objects
// and tags, materials and layer shaders, and video posts, and what every
// walker does with an instance it meets.
#include "search.h"

#include <algorithm>
#include <cmath>

#include "host/element_map.h"

namespace {

// Which entries of a list of scene elements lie below other entries: a
// selection may hold an object and its descendant.
constexpr int32_t noAncestor = INT32_MAX;

// For each entry, the smallest index i of a candidate that is its ancestor
// (through host::parent), or noAncestor. candidates[i] is entries[i] or null
// (an entry that counts as nobody's ancestor). An entry repeated later counts
// the first candidate occurrence as its ancestor. Every entry must be alive.
// Linear in the entries and their ancestors. False when out of memory.
bool earliestAncestors(const host::Vector<host::Element*>& entries, const host::Vector<host::Element*>& candidates,
                       host::Vector<int32_t>& earliest) {
    earliest.clear();
    ElementMap firstIndex;  // candidate -> index of its first occurrence
    for (int32_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i] == nullptr || firstIndex.find(candidates[i]) != nullptr) continue;
        if (!firstIndex.set(candidates[i], i)) return false;
    }
    const auto indexOf = [&](const host::Element* element) {
        const int32_t* index = firstIndex.find(element);
        return index ? *index : noAncestor;
    };

    // element -> the smallest entry index among its strict ancestors; every
    // element is climbed past once.
    ElementMap above;
    host::Vector<host::Element*> path;
    for (int32_t i = 0; i < entries.size(); ++i) {
        host::Element* entry = entries[i];
        if (entry == nullptr) {
            if (!earliest.push(noAncestor)) return false;
            continue;
        }
        if (above.find(entry) == nullptr) {
            path.clear();
            int32_t carry = noAncestor;  // answer for the parent of path.back()
            for (host::Element* element = entry;;) {
                if (!path.push(element)) return false;
                host::Element* parent = host::parent(element);
                if (parent == nullptr) break;
                if (const int32_t* known = above.find(parent)) {
                    carry = std::min(*known, indexOf(parent));
                    break;
                }
                element = parent;
            }
            for (int32_t k = path.size() - 1; k >= 0; --k) {
                if (!above.set(path[k], carry)) return false;
                carry = std::min(carry, indexOf(path[k]));
            }
        }
        const int32_t first = indexOf(entry);
        if (!earliest.push(std::min(*above.find(entry), first < i ? first : noAncestor))) return false;
    }
    return true;
}

}  // namespace

namespace {

// Host plug-in kind of each PluginType, for the registry look-up.
constexpr int32_t registryKinds[] = {6, 1, 5, 8};

struct DriverTexts {
    const char* notFoundPrefix;
    const char* identifyMiddle;
};
// Per PluginType.
constexpr DriverTexts driverTexts[] = {
    {"Tag plugin ", " is a Tag plugin with the default name "},
    {"Shader plugin ", " is a Shader plugin with the default name "},
    {"Object plugin ", " is an Object plugin with the default name "},
    {"VP plugin ", " is a VideoPost plugin with the default name "},
};

// Per Action: what a run cut short by lack of memory tells the user.
constexpr const char* outOfMemoryTexts[] = {
    "Cleartrace ran out of memory. The search is incomplete.",
    "Cleartrace ran out of memory. The list is incomplete.",
    "Cleartrace ran out of memory. Nothing was removed.",
};

constexpr const char* shadersLeftNotice =
    "Please note that not all shaders were deleted.\nIt is possible that these are within a Layer shader.\nIf so, "
    "these will be listed in the shader list.";

constexpr int32_t reflectanceChannel = 3;
constexpr int32_t materialUpdateMessage = 5;

// One change a removal makes once the search is complete: an instance to
// remove, or a material to update after its shaders were removed.
struct PlannedStep {
    host::Element* element;
    bool updatesMaterial;
};

// One driver call: what the walkers read, and what they gather on the way.
struct SearchRun {
    CleartraceDialog& dialog;
    host::Document* document;
    int32_t id;
    int32_t action;
    // Remove: the changes, in the order the walk met them.
    host::Vector<PlannedStep> plan;
    // The instances in plan: a damaged scene may reach one twice.
    ElementMap planned;
    // Remove: material walks that kept shaders in layer shaders.
    int32_t shadersLeftNotices = 0;
    // The run was cut short: it must neither change the scene nor report success.
    bool outOfMemory = false;
};

void planStep(SearchRun& run, host::Element* element, bool updatesMaterial) {
    if (!run.plan.push({element, updatesMaterial})) run.outOfMemory = true;
}

// An instance to remove once the search is complete; each is planned once.
void planRemoval(SearchRun& run, host::Element* instance) {
    if (run.planned.find(instance) != nullptr) return;
    if (!run.planned.set(instance, 0)) {
        run.outOfMemory = true;
        return;
    }
    planStep(run, instance, false);
}

void updateMaterial(host::Element* material) {
    host::updateMaterial(material, true, true);
    host::sendMessage(material, materialUpdateMessage);
}

// A walked material is updated after its shaders changed: in a removal, after
// the removal of the shaders the walk planned before it.
void materialWalked(SearchRun& run, host::Element* material) {
    if (run.action == Remove) {
        planStep(run, material, true);
    } else {
        updateMaterial(material);
    }
}

// Makes the planned changes in order, each removal with its undo step. Needs
// no memory, so it always finishes. All removals are unlinked before any is
// freed: one that lay inside an instance unlinked before it has left the
// document with that one and is not touched again.
void carryOutPlan(SearchRun& run) {
    for (PlannedStep& step : run.plan) {
        if (step.updatesMaterial) {
            updateMaterial(step.element);
        } else if (host::documentOf(step.element) == nullptr) {
            step.element = nullptr;
        } else {
            host::addUndo(run.document, HOST_UNDO_DELETE, step.element);
            host::unlink(step.element);
        }
    }
    for (const PlannedStep& step : run.plan) {
        if (!step.updatesMaterial && step.element != nullptr) host::freeElement(step.element);
    }
}

// What a walk does with an instance it met: plans its removal, lists it
// (rowA, rowB, channel, inLayerShader as addResult takes them, type as the
// row's kind) or identifies it.
void meetInstance(SearchRun& run, int32_t action, host::Element* instance, int32_t type, host::Element* rowA,
                  host::Element* rowB, int32_t channel, bool inLayerShader) {
    if (action == Remove) {
        planRemoval(run, instance);
    } else if (action == GenerateList) {
        if (!run.dialog.addResult(rowA, rowB, type, channel, inLayerShader)) run.outOfMemory = true;
    } else if (action == Identify) {
        identifyInstance(run.dialog, instance, run.id, type);
    }
}

// ---- The object and tag walkers over the document's object hierarchy. ----------

// The tags of object that are instances, in the host's order.
void meetTags(SearchRun& run, host::Element* object) {
    const host::TagList list = host::tagsOfType(object, run.id);
    for (int32_t i = 0; i < list.count && !run.outOfMemory; ++i) {
        host::Element* tag = list.tags[i];
        if (tag == nullptr) continue;
        meetInstance(run, run.action, tag, Tag, object, tag, 0, false);
        if (run.action == Identify) return;
    }
}

// The scope-0 walk from first: its sibling chain and everything below it.
// enter(element) runs when the walk reaches an element, before its children;
// leave(element) after them, and answers whether the chain goes on to the
// next sibling. Each chain stands for one call of the recursive walk (the
// children of one object) and sends its scene-changed notice when it ends.
template <class Enter, class Leave>
void walkChains(SearchRun& run, host::Element* first, Enter enter, Leave leave) {
    // The current element of every open chain, outermost first.
    host::Vector<host::Element*> chains;
    if (!chains.push(first)) {
        run.outOfMemory = true;
        host::sceneChanged();  // the call ends at once
        return;
    }
    bool childrenDone = false;  // whether the innermost chain's element had its children walked
    while (!chains.empty() && !run.outOfMemory) {
        host::Element* element = chains.back();
        if (!childrenDone) {
            enter(element);
            if (host::Element* child = host::firstChild(element)) {
                if (!chains.push(child)) run.outOfMemory = true;
                continue;
            }
        }
        host::Element* next = host::next(element);
        if (leave(element) && next != nullptr) {
            chains.back() = next;
            childrenDone = false;
        } else {
            host::sceneChanged();
            chains.pop();
            childrenDone = true;
        }
    }
    // Cut short: every open call ends at once.
    for (; !chains.empty(); chains.pop()) host::sceneChanged();
}

// Objects in post-order: an object's descendants before the object. In
// Identify a match ends its own chain.
void walkObjectChains(SearchRun& run, host::Element* first) {
    walkChains(
        run, first, [](host::Element*) {},
        [&](host::Element* object) {
            if (host::typeId(object) != run.id) return true;
            meetInstance(run, run.action, object, Object, object, nullptr, 0, false);
            return run.action != Identify;
        });
}

// Tags in pre-order: an object's own tags, then its descendants'.
void walkTagChains(SearchRun& run, host::Element* first) {
    walkChains(
        run, first, [&](host::Element* object) { meetTags(run, object); }, [](host::Element*) { return true; });
}

void walkObjects(SearchRun& run, host::Element* object, int32_t scope) {
    if (run.id == 0) return;
    if (object != nullptr && scope == 0) {
        walkObjectChains(run, object);  // sends this call's notice too
        return;
    }
    if (object != nullptr && (scope == 1 || scope == 2)) {
        if (scope == 1) {
            if (host::Element* child = host::firstChild(object)) walkObjectChains(run, child);
        }
        if (!run.outOfMemory && host::typeId(object) == run.id) {
            meetInstance(run, run.action, object, Object, object, nullptr, 0, false);
        }
    }
    host::sceneChanged();
}

void walkTags(SearchRun& run, host::Element* object, int32_t scope) {
    if (run.id == 0) return;
    if (object != nullptr && scope == 0) {
        walkTagChains(run, object);
        return;
    }
    if (object != nullptr && (scope == 1 || scope == 2)) {
        meetTags(run, object);
        if (scope == 1 && !run.outOfMemory) {
            if (host::Element* child = host::firstChild(object)) walkTagChains(run, child);
        }
    }
    host::sceneChanged();
}

// ---- The material walker over the shaders of materials. ----------

// A shader instance met in channel of material; inside a layer shader when inLayerShader.
void meetShader(SearchRun& run, host::Element* material, host::Element* shader, int32_t channel, bool inLayerShader) {
    // Met again after its removal was planned: the walk it stands for removed it already.
    if (run.planned.find(shader) != nullptr) return;
    if (run.action == Remove && !(inLayerShader && run.dialog.keepLayerShaders)) {
        // A link that leads back to the material itself is no shader of it.
        if (shader != material) planRemoval(run, shader);
        return;
    }
    // A kept shader is listed as Generate List would list it.
    const int32_t action = run.action == Remove ? GenerateList : run.action;
    meetInstance(run, action, shader, Shader, material, nullptr, channel, inLayerShader);
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
void walkLayers(SearchRun& run, host::Element* material, host::Element* layerShader, int32_t channel) {
    // Links resolve only to elements of this document, so it is the document
    // of every layer shader met below as well.
    const host::Document* document = host::documentOf(layerShader);
    if (document == nullptr) return;
    host::Value value;
    if (!value.valid()) {
        run.outOfMemory = true;
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
        open.erase(frames.back().layerShader);
        frames.pop();
    };
    if (!enter(layerShader)) run.outOfMemory = true;
    while (!frames.empty() && !run.outOfMemory) {
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
        if (type == run.id) {
            meetShader(run, material, shader, channel, true);
            if (run.action == Identify) leave();  // the rest of this layer shader is not looked at
        } else if (type == host::layerShaderType && open.find(shader) == nullptr) {
            if (!enter(shader)) run.outOfMemory = true;
        }
    }
}

// A shader met directly in a channel or a reflectance layer. Answers whether
// the walk of the material's place goes on.
bool meetPlace(SearchRun& run, host::Element* material, host::Element* shader, int32_t channel) {
    const int32_t type = host::typeId(shader);
    if (type == run.id) {
        meetShader(run, material, shader, channel, false);
        return run.action != Identify;
    }
    if (type == host::layerShaderType) walkLayers(run, material, shader, channel);
    return true;
}

// The shaders of the reflectance layers that the material owns.
void walkReflectance(SearchRun& run, host::Element* material, host::ElementArray& list) {
    if (!host::reflectanceShaders(material, list)) {
        run.outOfMemory = true;
        return;
    }
    for (int32_t i = 0; i < list.count() && !run.outOfMemory; ++i) {
        host::Element* shader = list.entry(i);
        if (shader == nullptr || host::shaderOwner(shader) != material) continue;
        if (!meetPlace(run, material, shader, reflectanceChannel)) return;
    }
}

void walkChannels(SearchRun& run, host::Element* material, host::ElementArray& reflectance) {
    for (int32_t c = 0; c < channelCount && !run.outOfMemory; ++c) {
        const HostChannel* channel = host::channel(material, c);
        if (channel == nullptr) continue;
        if (c == reflectanceChannel) {
            walkReflectance(run, material, reflectance);
            continue;
        }
        host::Element* shader = host::channelShader(channel);
        if (shader != nullptr && !meetPlace(run, material, shader, c)) return;
    }
}

void walkMaterials(SearchRun& run, host::Element* material, int32_t scope) {
    if (run.id == 0) return;
    host::ElementArray reflectance;  // filled per material
    for (host::Element* current = material; current != nullptr && !run.outOfMemory;) {
        walkChannels(run, current, reflectance);
        materialWalked(run, current);
        if (scope != 0) break;
        current = host::next(current);
    }
    // Shown once the removal is made, as it speaks of what was removed.
    if (run.action == Remove && !run.dialog.results.empty()) ++run.shadersLeftNotices;
    host::sceneChanged();
}

// ---- The video post walker over the active render settings. ----------

void walkVideoPosts(SearchRun& run) {
    if (run.id == 0) return;
    const host::Element* settings = host::activeRenderSettings(run.document);
    host::Element* videoPost = settings ? host::firstVideoPost(settings) : nullptr;
    for (; videoPost != nullptr && !run.outOfMemory; videoPost = host::next(videoPost)) {
        if (host::typeId(videoPost) != run.id) continue;
        meetInstance(run, run.action, videoPost, PostEffect, videoPost, nullptr, 0, false);
        if (run.action == Identify) break;  // the first instance in list order decides
    }
    host::sceneChanged();
}

// ---- The frame of a run. ----------

using Walker = void (*)(SearchRun&, host::Element*, int32_t);

Walker walkerFor(int32_t type) { return type == Tag ? walkTags : type == Shader ? walkMaterials : walkObjects; }

// The start elements of a selection scope, and which of them the run skips.
struct Selection {
    host::ElementArray entries;
    host::Vector<bool> skip;
};

// Which selected objects to skip. Scope 1: one below another selected object,
// whose walk covers it. Scope 2, removing objects: one below a selected
// instance that comes before it, as that removal takes it along.
bool planObjectSelection(Selection& selection, int32_t scope, bool removesObjects, int32_t id) {
    host::Vector<host::Element*> entries;
    host::Vector<host::Element*> candidates;
    for (int32_t i = 0; i < selection.entries.count(); ++i) {
        host::Element* entry = selection.entries.entry(i);
        const bool candidate = scope == 1 || (removesObjects && entry != nullptr && host::typeId(entry) == id);
        if (!entries.push(entry) || !candidates.push(candidate ? entry : nullptr)) return false;
    }
    host::Vector<int32_t> earliest;
    if (!earliestAncestors(entries, candidates, earliest)) return false;
    for (int32_t i = 0; i < earliest.size(); ++i) {
        const bool covered = scope == 1 ? earliest[i] != noAncestor : earliest[i] < i;
        if (!selection.skip.push(covered)) return false;
    }
    return true;
}

// Fills the selection of the driver of type; false when out of memory.
bool fillSelection(Selection& selection, host::Document* document, int32_t type, int32_t scope, int32_t id,
                   int32_t action) {
    if (type == Shader) {
        if (!host::selectedMaterials(document, selection.entries)) return false;
        for (int32_t i = 0; i < selection.entries.count(); ++i) {
            if (!selection.skip.push(false)) return false;
        }
        return true;
    }
    if (!host::selectedObjects(document, selection.entries, 0)) return false;
    return planObjectSelection(selection, scope, type == Object && action == Remove, id);
}

// Walks from every selected object or material that is not skipped.
void walkSelection(SearchRun& run, int32_t type, int32_t scope) {
    Selection selection;
    if (!fillSelection(selection, run.document, type, scope, run.id, run.action)) {
        run.outOfMemory = true;
        return;
    }
    const Walker walker = walkerFor(type);
    for (int32_t i = 0; i < selection.entries.count() && i < selection.skip.size() && !run.outOfMemory; ++i) {
        if (!selection.skip[i]) walker(run, selection.entries.entry(i), scope);
    }
}

void walkScene(SearchRun& run, int32_t type, int32_t scope) {
    if (type == PostEffect) {
        walkVideoPosts(run);
    } else if (scope != 0) {
        walkSelection(run, type, scope);
    } else {
        host::Element* start = type == Shader ? host::firstMaterial(run.document) : host::firstObject(run.document);
        walkerFor(type)(run, start, 0);
    }
}

// What the user is told once the walk is over, and the list.
void report(SearchRun& run, int32_t type) {
    CleartraceDialog& dialog = run.dialog;
    const DriverTexts& texts = driverTexts[type];
    if (run.outOfMemory) {
        host::messageBox(outOfMemoryTexts[run.action], host::styleNotice);
    } else if (run.action == Identify) {
        if (dialog.foundType >= 0) {
            host::messageBox(
                host::String("Plugin ") + host::String::number(run.id) + texts.identifyMiddle + dialog.foundName + ".",
                host::styleNotice);
        }
    } else if (dialog.results.empty()) {
        ResultRecord notFound;
        notFound.name = host::String(texts.notFoundPrefix) + host::String::number(run.id) + " not found.";
        dialog.results.push(std::move(notFound));  // room was made before the walk
    }
    dialog.refreshResults();
}

}  // namespace

bool pluginIdFromField(double value, int32_t& id) {
    if (!std::isfinite(value)) return false;
    const double truncated = std::trunc(value);
    if (truncated < double(INT32_MIN) || truncated > double(INT32_MAX)) return false;
    id = int32_t(truncated);
    return true;
}

bool runDriver(CleartraceDialog& dialog, host::Document* document, int32_t type, int32_t action) {
    int32_t id = 0;
    if (type < Tag || type > PostEffect || action < Identify || action > Remove) return true;
    if (document == nullptr || !pluginIdFromField(dialog.getFloat(IDC_PLUGIN_ID), id)) return true;
    if (action == Remove && dialog.warnBeforeDeleting &&
        host::messageBox("Are you sure you want to delete the plugin instances?", host::styleQuestion) !=
            host::answerYes) {
        return true;
    }
    dialog.clearResults();
    dialog.rowCounter = 0;

    SearchRun run{dialog, document, id, action, {}, {}, 0, false};
    // The not-found row always finds room, whatever the walk leaves.
    run.outOfMemory = !dialog.results.reserve(1);
    host::startUndo(document);
    // Identify searches the whole scene, whatever the disabled scope box holds.
    if (!run.outOfMemory) walkScene(run, type, action == Identify ? 0 : dialog.scope);
    if (!run.outOfMemory) {
        carryOutPlan(run);
        for (int32_t i = 0; i < run.shadersLeftNotices; ++i) host::messageBox(shadersLeftNotice, host::styleNotice);
    }
    host::endUndo(document);
    report(run, type);
    return !run.outOfMemory;
}

void CleartraceDialog::processTagPlugin(host::Document* document, int32_t runAction) {
    runDriver(*this, document, Tag, runAction);
}
void CleartraceDialog::processShaderPlugin(host::Document* document, int32_t runAction) {
    runDriver(*this, document, Shader, runAction);
}
void CleartraceDialog::processObjectPlugin(host::Document* document, int32_t runAction) {
    runDriver(*this, document, Object, runAction);
}
void CleartraceDialog::processVideoPostPlugin(host::Document* document, int32_t runAction) {
    runDriver(*this, document, PostEffect, runAction);
}

void identifyInstance(CleartraceDialog& dialog, host::Element* instance, int32_t id, int32_t type) {
    if (type < Tag || type > PostEffect) return;
    dialog.foundType = type;
    const HostPluginRecord* record = host::findPlugin(id, registryKinds[type]);
    dialog.foundName = record ? host::pluginName(record) : host::name(instance);
}
