// Find and Remove Missing Plugins: every element of the four types whose type
// id the host's registry does not know, met by the scope-0 walks of each type
// in one pass, one row per missing plug-in.
#include "search_run.h"

namespace {

// Rows in this order of the types; within a type, in walk order.
constexpr PluginType listedTypes[] = {PluginType::Tag, PluginType::Shader, PluginType::Object, PluginType::PostEffect};

// What stays missing once the plan is made: the kept shaders that no other
// meeting planned to remove, counted as a fresh walk would meet them.
// Runs before the removal, while every kept shader is alive.
void countWhatStays(SearchRun& run) {
    MissingPlugins& missing = *run.missing;
    host::Vector<MissingPlugin>& shaders = missing.found[entryId(PluginType::Shader)];
    for (host::Element* shader : missing.kept) {
        if (isPlanned(run, shader)) continue;
        const int32_t* row = missing.lookedUp[entryId(PluginType::Shader)].find(uint32_t(host::typeId(shader)));
        if (row == nullptr || *row < 0 || *row >= shaders.size()) continue;
        MissingPlugin& plugin = shaders[*row];
        if (plugin.instancesLeft++ == 0) plugin.nameLeft = host::name(shader);
    }
}

// The rows of missing, with their instances (or those left after a removal),
// then the not-found row when there are none. store has room for one row
// more than missing has plug-ins, so a list of what is left needs no memory.
bool listMissing(const MissingPlugins& missing, bool left, ResultStore& store) {
    clearResults(store);
    store.rowCounter = 0;
    for (const PluginType type : listedTypes) {
        for (const MissingPlugin& plugin : missing.found[entryId(type)]) {
            const int32_t instances = left ? plugin.instancesLeft : plugin.instances;
            if (instances == 0) continue;
            if (!addMissingPluginRow(store, type, plugin.pluginId, instances, left ? plugin.nameLeft : plugin.name))
                return false;
        }
    }
    if (!store.records.empty()) return true;
    ResultRecord notFound;
    notFound.name = "No missing plugins found.";
    return store.records.push(std::move(notFound));
}

int32_t pluginCount(const MissingPlugins& missing) {
    int32_t count = 0;
    for (const PluginType type : listedTypes) count += missing.found[entryId(type)].size();
    return count;
}

}  // namespace

SearchOutcome findMissingPlugins(host::Document* document, const SearchRequest& request, MissingPlugins& missing,
                                 ResultStore& store) {
    SearchOutcome outcome;
    clearResults(store);
    store.rowCounter = 0;
    if (document == nullptr || !searchesMissing(request.action)) {
        outcome.cancelled = true;
        return outcome;
    }
    // The walks act as Generate List (which counts) or as Remove (which
    // plans as well) of scope 0; the plug-in ID plays no part.
    const bool removing = request.action == Action::RemoveMissing;
    SearchRequest walk = request;
    walk.action = removing ? Action::Remove : Action::GenerateList;
    walk.pluginId = 0;
    walk.scope = 0;
    SearchRun run{walk, document, store, outcome, missing.plan, &missing};
    for (const PluginType type : listedTypes) {
        if (!outcome.outOfMemory) walkScene(run, type, 0);
    }
    if (!outcome.outOfMemory && removing) countWhatStays(run);
    outcome.outOfMemory =
        outcome.outOfMemory || !store.records.reserve(pluginCount(missing) + 1) || !listMissing(missing, false, store);
    // A list cut short would give counts that are not true: none is shown.
    if (outcome.outOfMemory) clearResults(store);
    return outcome;
}

bool foundMissingPlugins(const MissingPlugins& missing) { return pluginCount(missing) > 0; }

void removeMissingPlugins(host::Document* document, MissingPlugins& missing, ResultStore& store) {
    host::startUndo(document);
    carryOutPlan(document, missing.plan);
    host::endUndo(document);
    listMissing(missing, true, store);
}
