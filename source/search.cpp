// The process drivers, the video post walker and the steps every walker shares.
#include "search.h"

#include <cmath>

#include "ancestry.h"

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

Walker walkerFor(int32_t type) {
    return type == Tag ? walkTags : type == Shader ? walkMaterials : walkObjects;
}

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
            host::messageBox(host::String("Plugin ") + host::String::number(id) + texts.identifyMiddle +
                                 dialog.foundName + ".",
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
