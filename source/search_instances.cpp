// What a walk does with one instance it meets: lists it, identifies it, or
// plans its removal; and the removal itself once the search is complete.
#include "search_run.h"

namespace {

// Host plug-in kind of each PluginType, for the registry look-up.
constexpr int32_t registryKinds[] = {HOST_PLUGIN_KIND_TAG, HOST_PLUGIN_KIND_SHADER, HOST_PLUGIN_KIND_OBJECT,
                                     HOST_PLUGIN_KIND_VIDEO_POST};

void planStep(SearchRun& run, host::Element* element, bool updatesMaterial) {
    if (!run.plan.push({element, updatesMaterial})) run.outcome.outOfMemory = true;
}

void updateMaterial(host::Element* material) {
    host::updateMaterial(material, true, true);
    host::sendMessage(material, HOST_MSG_MATERIAL_UPDATE);
}

// Records what an Identify walk met; a later instance overwrites an earlier.
void identifyInstance(SearchRun& run, host::Element* instance, PluginType type) {
    run.outcome.foundType = type;
    const HostPluginRecord* record = host::findPlugin(run.request.pluginId, registryKinds[entryId(type)]);
    run.outcome.foundName = record ? host::pluginName(record) : host::name(instance);
}

}  // namespace

void meetInstance(SearchRun& run, Action action, host::Element* instance, PluginType type, host::Element* listed,
                  host::Element* tag, int32_t channel, bool inLayerShader) {
    if (action == Action::Remove) {
        planRemoval(run, instance);
    } else if (action == Action::GenerateList) {
        if (!addResult(run.store, listed, tag, type, channel, inLayerShader)) run.outcome.outOfMemory = true;
    } else {
        identifyInstance(run, instance, type);
    }
}

bool isPlanned(SearchRun& run, const host::Element* instance) { return run.planned.find(instance) != nullptr; }

void planRemoval(SearchRun& run, host::Element* instance) {
    if (isPlanned(run, instance)) return;
    if (!run.planned.set(instance, 0)) {
        run.outcome.outOfMemory = true;
        return;
    }
    planStep(run, instance, false);
}

void materialWalked(SearchRun& run, host::Element* material) {
    if (run.request.action == Action::Remove) {
        planStep(run, material, true);
    } else {
        updateMaterial(material);
    }
}

// Each removal with its undo step, in plan order. All are unlinked before
// any is freed: one that lay inside an instance unlinked before it has left
// the document with that one and is not touched again.
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
