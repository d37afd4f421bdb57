// What a walk does with one instance it meets: lists it, identifies it, or
// plans its removal; and the removal itself once the search is complete.
#include "search_run.h"

namespace {

// Host plug-in kind of each PluginType, for the registry look-up.
constexpr int32_t registryKinds[pluginTypeCount] = {HOST_PLUGIN_KIND_TAG, HOST_PLUGIN_KIND_SHADER,
                                                    HOST_PLUGIN_KIND_OBJECT, HOST_PLUGIN_KIND_VIDEO_POST,
                                                    HOST_PLUGIN_KIND_MATERIAL};

void planStep(SearchRun& run, host::Element* element, bool updatesMaterial, bool isObject = false) {
    if (!run.plan.steps.push({element, updatesMaterial, isObject})) run.outcome.outOfMemory = true;
}

void planOnce(SearchRun& run, host::Element* instance, bool isObject) {
    if (isPlanned(run, instance)) return;
    if (!run.plan.planned.set(instance, 0)) {
        run.outcome.outOfMemory = true;
        return;
    }
    planStep(run, instance, false, isObject);
}

// Marks of MissingPlugins::lookedUp besides a row index.
constexpr int32_t registeredType = -1;
constexpr int32_t missingTypeWithoutRow = -2;

// Counts instance in the row of its missing plug-in, making the row at the
// first instance. False when out of memory.
bool countMissing(MissingPlugins& missing, PluginType type, host::Element* instance, int32_t typeId, int32_t& mark) {
    host::Vector<MissingPlugin>& found = missing.found[entryId(type)];
    if (mark == missingTypeWithoutRow) {
        MissingPlugin plugin;
        plugin.pluginId = typeId;
        plugin.name = host::name(instance);
        if (plugin.name.refused() || !found.push(std::move(plugin))) return false;
        mark = found.size() - 1;
    }
    ++found[mark].instances;
    return true;
}

// Records what an Identify walk met; a later instance overwrites an earlier.
void identifyInstance(SearchRun& run, host::Element* instance, PluginType type) {
    run.outcome.foundType = type;
    const HostPluginRecord* record = host::findPlugin(run.request.pluginId, registryKinds[entryId(type)]);
    run.outcome.foundName = record ? host::pluginName(record) : host::name(instance);
    if (run.outcome.foundName.refused()) run.outcome.outOfMemory = true;
}

}  // namespace

void updateMaterial(host::Element* material) {
    host::updateMaterial(material, true, true);
    host::sendMessage(material, HOST_MSG_MATERIAL_UPDATE);
}

void walkEnded(const SearchRun& run) {
    if (run.documentShown) host::sceneChanged();
}

bool seeksNothing(const SearchRun& run) { return run.missing == nullptr && run.request.pluginId == 0; }

bool sought(SearchRun& run, PluginType type, host::Element* instance, int32_t typeId) {
    if (run.missing == nullptr) return typeId == run.request.pluginId;
    ++run.missing->met[entryId(type)];
    if (typeId == HOST_TYPE_NONE) return false;
    IdMap& lookedUp = run.missing->lookedUp[entryId(type)];
    const uint64_t key = uint32_t(typeId);
    int32_t* mark = lookedUp.find(key);
    if (mark == nullptr) {
        const bool registered = host::findPlugin(typeId, registryKinds[entryId(type)]) != nullptr;
        if (!lookedUp.set(key, registered ? registeredType : missingTypeWithoutRow)) {
            run.outcome.outOfMemory = true;
            return false;
        }
        mark = lookedUp.find(key);
    }
    if (*mark == registeredType) return false;
    if (!countMissing(*run.missing, type, instance, typeId, *mark)) {
        run.outcome.outOfMemory = true;
        return false;
    }
    return true;
}

void meetInstance(SearchRun& run, Action action, host::Element* instance, PluginType type, host::Element* listed,
                  host::Element* second, int32_t channel, bool inLayerShader) {
    if (action == Action::Remove) {
        planOnce(run, instance, type == PluginType::Object);
    } else if (run.missing != nullptr) {
        // Counted when it was sought; a shader a removal keeps is remembered
        // to list it afterwards.
        if (run.request.action == Action::Remove) keepShader(run, instance, nullptr, nullptr);
    } else if (action == Action::GenerateList) {
        if (!addResult(run.store, listed, second, type, channel, inLayerShader)) run.outcome.outOfMemory = true;
    } else {
        identifyInstance(run, instance, type);
    }
}

void keepShader(SearchRun& run, host::Element* shader, host::Element* owner, host::Element* object) {
    if (!run.missing->kept.push({shader, owner, object})) run.outcome.outOfMemory = true;
}

bool isPlanned(SearchRun& run, const host::Element* instance) { return run.plan.planned.find(instance) != nullptr; }

void planRemoval(SearchRun& run, host::Element* instance) { planOnce(run, instance, false); }

void materialWalked(SearchRun& run, host::Element* material) {
    if (run.request.action == Action::Remove) {
        planStep(run, material, true);
    } else if (run.documentShown && !run.materialsUpdated) {
        updateMaterial(material);
    }
}
