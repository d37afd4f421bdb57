// Instance search and removal: the process drivers, the walkers over objects
// and tags, materials and layer shaders, and video posts, and the steps every
// walker shares.
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

using Walker = void (*)(CleartraceDialog&, host::Document*, host::Element*, int32_t, int32_t, int32_t);

Walker walkerFor(int32_t type) { return type == Tag ? walkTags : type == Shader ? walkMaterials : walkObjects; }

// The start elements of a selection scope, and which of them the run skips.
struct Selection {
    host::ElementArray entries;
    host::Vector<bool> skip;
};

// Which selected objects to skip. Scope 1: one below another selected object,
// whose walk covers it. Scope 2, removing objects: one below a selected
// instance that comes before it, as that removal took it along.
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

// Fills the selection of the driver of type; false when there is nothing to walk.
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
void walkSelection(CleartraceDialog& dialog, host::Document* document, int32_t type, int32_t id, int32_t action) {
    Selection selection;
    if (!fillSelection(selection, document, type, dialog.scope, id, action)) return;  // nothing found
    const Walker walker = walkerFor(type);
    for (int32_t i = 0; i < selection.entries.count() && i < selection.skip.size(); ++i) {
        if (!selection.skip[i]) walker(dialog, document, selection.entries.entry(i), id, dialog.scope, action);
    }
}

void walkScene(CleartraceDialog& dialog, host::Document* document, int32_t type, int32_t id, int32_t action) {
    if (type == PostEffect) {
        walkVideoPosts(dialog, document, id, action);
    } else if (dialog.scope != 0) {
        walkSelection(dialog, document, type, id, action);
    } else {
        host::Element* start = type == Shader ? host::firstMaterial(document) : host::firstObject(document);
        walkerFor(type)(dialog, document, start, id, 0, action);
    }
}

// The frame of a run shared by the four drivers.
void runDriver(CleartraceDialog& dialog, host::Document* document, int32_t type, int32_t action) {
    int32_t id = 0;
    if (document == nullptr || !pluginIdFromField(dialog.getFloat(IDC_PLUGIN_ID), id)) return;
    if (action == Remove && dialog.warnBeforeDeleting &&
        host::messageBox("Are you sure you want to delete the plugin instances?", host::styleQuestion) !=
            host::answerYes) {
        return;
    }
    dialog.clearResults();
    dialog.rowCounter = 0;

    host::startUndo(document);
    walkScene(dialog, document, type, id, action);
    host::endUndo(document);

    const DriverTexts& texts = driverTexts[type];
    if (action == Identify) {
        if (dialog.foundType >= 0) {
            host::messageBox(
                host::String("Plugin ") + host::String::number(id) + texts.identifyMiddle + dialog.foundName + ".",
                host::styleNotice);
        }
    } else if (dialog.results.empty()) {
        ResultRecord notFound;
        notFound.name = host::String(texts.notFoundPrefix) + host::String::number(id) + " not found.";
        dialog.results.push(std::move(notFound));  // dropped when out of memory
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

void walkVideoPosts(CleartraceDialog& dialog, host::Document* document, int32_t id, int32_t action) {
    if (id == 0) return;
    const host::Element* settings = host::activeRenderSettings(document);
    host::Element* videoPost = settings ? host::firstVideoPost(settings) : nullptr;
    while (videoPost != nullptr) {
        host::Element* next = host::next(videoPost);  // taken before videoPost may be removed
        if (host::typeId(videoPost) == id) {
            if (action == Remove) {
                removeInstance(dialog, document, videoPost, PostEffect);
            } else {
                listOrIdentify(dialog, videoPost, id, PostEffect, action, videoPost, nullptr, 0, false);
                if (action == Identify) break;  // the first instance in list order decides
            }
        }
        videoPost = next;
    }
    host::sceneChanged();
}

void identifyInstance(CleartraceDialog& dialog, host::Element* instance, int32_t id, int32_t type) {
    if (type < Tag || type > PostEffect) return;
    dialog.foundType = type;
    const HostPluginRecord* record = host::findPlugin(id, registryKinds[type]);
    dialog.foundName = record ? host::pluginName(record) : host::name(instance);
}

bool removeInstance(CleartraceDialog&, host::Document* document, host::Element* element, int32_t kind) {
    if (kind < Tag || kind > PostEffect) return true;
    detachInstance(document, element);
    host::freeElement(element);
    return true;
}

void detachInstance(host::Document* document, host::Element* element) {
    host::addUndo(document, HOST_UNDO_DELETE, element);
    host::unlink(element);
}

void listOrIdentify(CleartraceDialog& dialog, host::Element* instance, int32_t id, int32_t type, int32_t action,
                    host::Element* rowA, host::Element* rowB, int32_t channel, bool inLayerShader) {
    if (action == GenerateList) {
        dialog.addResult(rowA, rowB, type, channel, inLayerShader);
    } else if (action == Identify) {
        identifyInstance(dialog, instance, id, type);
    }
}

// ---- The object and tag walkers over the document's object hierarchy. ----------

namespace {

// An object instance met by the object walker.
void handleObject(CleartraceDialog& dialog, host::Document* document, host::Element* object, int32_t id,
                  int32_t action) {
    if (action == Remove) {
        removeInstance(dialog, document, object, Object);
    } else {
        listOrIdentify(dialog, object, id, Object, action, object, nullptr, 0, false);
    }
}

// The tags of object that are instances, in the host's order.
void handleTags(CleartraceDialog& dialog, host::Document* document, host::Element* object, int32_t id, int32_t action) {
    const host::TagList list = host::tagsOfType(object, id);
    for (int32_t i = 0; i < list.count; ++i) {
        host::Element* tag = list.tags[i];
        if (tag == nullptr) continue;
        if (action == Remove) {
            removeInstance(dialog, document, tag, Tag);
        } else {
            listOrIdentify(dialog, tag, id, Tag, action, object, tag, 0, false);
            if (action == Identify) return;
        }
    }
}

// The scope-0 walk from first: its sibling chain and everything below it.
// enter(element) runs when the walk reaches an element, before its children;
// leave(element) after them, and answers whether the chain goes on to the
// next sibling (which is taken before, as leave may remove element). Each
// chain stands for one call of the recursive walk (the children of one
// object) and sends its scene-changed notice when it ends.
template <class Enter, class Leave>
void walkChains(host::Element* first, Enter enter, Leave leave) {
    // The current element of every open chain, outermost first.
    host::Vector<host::Element*> chains;
    if (!chains.push(first)) {
        host::sceneChanged();  // the call ends at once
        return;
    }
    bool outOfMemory = false;
    bool childrenDone = false;  // whether the innermost chain's element had its children walked
    while (!chains.empty() && !outOfMemory) {
        host::Element* element = chains.back();
        if (!childrenDone) {
            enter(element);
            if (host::Element* child = host::firstChild(element)) {
                outOfMemory = !chains.push(child);
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
    // Out of memory: every open chain ends at once, as if nothing more was found.
    for (; !chains.empty(); chains.pop()) host::sceneChanged();
}

// Objects in post-order: an object's descendants before the object. In
// Identify a match ends its own chain.
void walkObjectChains(CleartraceDialog& dialog, host::Document* document, host::Element* first, int32_t id,
                      int32_t action) {
    walkChains(
        first, [](host::Element*) {},
        [&](host::Element* object) {
            if (host::typeId(object) != id) return true;
            handleObject(dialog, document, object, id, action);
            return action != Identify;
        });
}

// Tags in pre-order: an object's own tags, then its descendants'.
void walkTagChains(CleartraceDialog& dialog, host::Document* document, host::Element* first, int32_t id,
                   int32_t action) {
    walkChains(
        first, [&](host::Element* object) { handleTags(dialog, document, object, id, action); },
        [](host::Element*) { return true; });
}

}  // namespace

void walkObjects(CleartraceDialog& dialog, host::Document* document, host::Element* object, int32_t id, int32_t scope,
                 int32_t action) {
    if (id == 0) return;
    if (object != nullptr && scope == 0) {
        walkObjectChains(dialog, document, object, id, action);  // sends this call's notice too
        return;
    }
    if (object != nullptr && (scope == 1 || scope == 2)) {
        if (scope == 1) {
            if (host::Element* child = host::firstChild(object)) walkObjectChains(dialog, document, child, id, action);
        }
        if (host::typeId(object) == id) handleObject(dialog, document, object, id, action);
    }
    host::sceneChanged();
}

void walkTags(CleartraceDialog& dialog, host::Document* document, host::Element* object, int32_t id, int32_t scope,
              int32_t action) {
    if (id == 0) return;
    if (object != nullptr && scope == 0) {
        walkTagChains(dialog, document, object, id, action);
        return;
    }
    if (object != nullptr && (scope == 1 || scope == 2)) {
        handleTags(dialog, document, object, id, action);
        if (scope == 1) {
            if (host::Element* child = host::firstChild(object)) walkTagChains(dialog, document, child, id, action);
        }
    }
    host::sceneChanged();
}

// ---- The material and layer-shader walkers over the shaders of materials. ----------

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
