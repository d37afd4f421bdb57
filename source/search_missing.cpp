// Find and Remove Missing Plugins: every element of the five types whose type
// id the host's registry does not know, met by the scope-0 walks of each type
// (the post effects of every render settings, every shader wherever it is
// owned or held) in one pass, one row per missing plug-in.
#include "search_run.h"

namespace {

// Rows in this order of the types; within a type, in walk order.
constexpr PluginType listedTypes[] = {PluginType::Tag, PluginType::Shader, PluginType::Object, PluginType::PostEffect,
                                      PluginType::Material};
// The walks, materials first: a removal takes a missing material whole, so
// the shader walk then knows which materials go with their shaders.
constexpr PluginType walkedTypes[] = {PluginType::Material, PluginType::Tag, PluginType::Shader, PluginType::Object,
                                      PluginType::PostEffect};

// Marks of goesAlong.
constexpr int32_t objectStays = 0;
constexpr int32_t objectGoes = 1;

// Whether object goes with the removal, the children of removed objects not
// kept: when it or an object above it is planned (the object walk meets an
// object before those above it, so this is known only once the plan is
// made). Answers are remembered in marks, so each object is climbed from
// once; false when out of memory.
bool goesAlong(SearchRun& run, host::Element* object, ElementMap& marks, bool& goes) {
    host::Vector<host::Element*> climbed;
    goes = false;
    for (host::Element* above = object; above != nullptr; above = host::parent(above)) {
        if (const int32_t* mark = marks.find(above)) {
            goes = *mark == objectGoes;
            break;
        }
        if (!climbed.push(above)) return false;
        if (isPlanned(run, above)) {
            goes = true;
            break;
        }
    }
    for (host::Element* element : climbed) {
        if (!marks.set(element, goes ? objectGoes : objectStays)) return false;
    }
    return true;
}

// The tags that the plan moves into Nulls.
bool movedTags(const RemovalPlan& plan, ElementMap& moved) {
    for (const KeepingStep& step : plan.keeping) {
        if (step.kind == KeepingStep::Kind::MoveTag && !moved.set(step.element, 0)) return false;
    }
    return true;
}

// What stays missing once the plan is made (the Nulls that keep children
// included): the kept shaders that no other meeting planned to remove and
// that do not go with the object or tag owning them, counted in the order a
// fresh walk would meet them. Their owner itself is not planned (the walk
// took the shaders of a planned owner along). With children kept, only a
// tag can still go: with its object, when no Null takes the tag. Runs before
// the removal, while every kept shader is alive; false when out of memory.
bool countWhatStays(SearchRun& run) {
    MissingPlugins& missing = *run.missing;
    host::Vector<MissingPlugin>& shaders = missing.found[entryId(PluginType::Shader)];
    const bool keepChildren = run.request.keepChildren;
    ElementMap marks;  // without keepChildren: the objects that go or stay
    ElementMap moved;  // with keepChildren: the tags moved into Nulls
    if (keepChildren && !movedTags(missing.plan, moved)) return false;
    for (const MissingPlugins::KeptShader& kept : missing.kept) {
        host::Element* shader = kept.shader;
        if (isPlanned(run, shader)) continue;
        bool goes = false;
        if (kept.object != nullptr && keepChildren) {
            const bool ofTag = kept.owner != kept.object;
            goes = ofTag && isPlanned(run, kept.object) && moved.find(kept.owner) == nullptr;
        } else if (kept.object != nullptr && !goesAlong(run, kept.object, marks, goes)) {
            return false;
        }
        if (goes) continue;
        const int32_t* row = missing.lookedUp[entryId(PluginType::Shader)].find(uint32_t(host::typeId(shader)));
        if (row == nullptr || *row < 0 || *row >= shaders.size()) continue;
        MissingPlugin& plugin = shaders[*row];
        if (plugin.instancesLeft++ > 0) continue;
        plugin.nameLeft = host::name(shader);
        if (plugin.nameLeft.refused() || !missing.shadersLeft.push(*row)) return false;
    }
    return true;
}

bool addNotFoundRow(const MissingPlugins& missing, ResultStore& store) {
    ResultRecord notFound;
    notFound.name = missing.notFoundText;
    return store.records.push(std::move(notFound));
}

// Every text the rows need, now and after a removal; false when the host
// refused one.
bool makeRowTexts(MissingPlugins& missing) {
    missing.notFoundText = host::String("No missing plugins found.");
    if (missing.notFoundText.refused()) return false;
    for (const PluginType type : listedTypes) {
        for (MissingPlugin& plugin : missing.found[entryId(type)]) {
            plugin.pluginIdText = host::String::number(plugin.pluginId);
            plugin.instancesText = host::String::number(plugin.instances);
            if (plugin.pluginIdText.refused() || plugin.instancesText.refused()) return false;
        }
    }
    for (const int32_t row : missing.shadersLeft) {
        MissingPlugin& plugin = missing.found[entryId(PluginType::Shader)][row];
        plugin.instancesLeftText = host::String::number(plugin.instancesLeft);
        if (plugin.instancesLeftText.refused()) return false;
    }
    return true;
}

// The rows of missing, then the not-found row when there are none.
bool listMissing(const MissingPlugins& missing, ResultStore& store) {
    clearResults(store);
    store.rowCounter = 0;
    for (const PluginType type : listedTypes) {
        for (const MissingPlugin& plugin : missing.found[entryId(type)]) {
            if (!addMissingPluginRow(store, type, plugin.pluginId, plugin.instances, plugin.name, plugin.pluginIdText,
                                     plugin.instancesText))
                return false;
        }
    }
    return !store.records.empty() || addNotFoundRow(missing, store);
}

// The rows of what a removal left: shaders only, as every other instance met
// was removed. store has room for as many rows as listMissing made, and
// every text was made with them, so this needs no memory.
void listWhatStays(const MissingPlugins& missing, ResultStore& store) {
    clearResults(store);
    store.rowCounter = 0;
    const host::Vector<MissingPlugin>& shaders = missing.found[entryId(PluginType::Shader)];
    for (const int32_t row : missing.shadersLeft) {
        const MissingPlugin& plugin = shaders[row];
        addMissingPluginRow(store, PluginType::Shader, plugin.pluginId, plugin.instancesLeft, plugin.nameLeft,
                            plugin.pluginIdText, plugin.instancesLeftText);
    }
    if (store.records.empty()) addNotFoundRow(missing, store);
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
    const bool removing = request.action == Action::RemoveMissing || request.action == Action::RemoveMissingInFolder;
    SearchRequest walk = request;
    walk.action = removing ? Action::Remove : Action::GenerateList;
    walk.pluginId = 0;
    walk.scope = 0;
    SearchRun run{walk, document, store, outcome, missing.plan, &missing};
    run.documentShown = !searchesFolder(request.action);
    // Every shader of the scene: the shader walk meets the materials', the
    // object and post-effect walks those of their elements, in that order.
    run.everyShader = true;
    // A hidden document only searched has its hierarchy read once for its
    // tags and objects together: the same instances, met in the same order
    // within each type, where the object walk goes (after the materials'
    // shaders). A removal walks as Remove Missing Plugins walks the active
    // scene, so that it changes a file exactly as it would that scene.
    const bool oneHierarchyPass = request.action == Action::FindMissingInFolder;
    for (const PluginType type : walkedTypes) {
        if (outcome.outOfMemory) break;
        if (oneHierarchyPass && type == PluginType::Tag) continue;
        if (oneHierarchyPass && type == PluginType::Object) {
            walkTagsAndObjects(run, host::firstObject(document));
        } else {
            walkScene(run, type, 0);
        }
    }
    if (!outcome.outOfMemory && removing && request.keepChildren && !planKeptChildren(missing.plan))
        outcome.outOfMemory = true;
    if (!outcome.outOfMemory && removing && !countWhatStays(run)) outcome.outOfMemory = true;
    outcome.outOfMemory = outcome.outOfMemory || !store.records.reserve(pluginCount(missing) + 1) ||
                          !makeRowTexts(missing) || !listMissing(missing, store);
    // A list cut short would give counts that are not true: none is shown.
    if (outcome.outOfMemory) clearResults(store);
    return outcome;
}

bool foundMissingPlugins(const MissingPlugins& missing) { return pluginCount(missing) > 0; }

Carried removeMissingPlugins(host::Document* document, MissingPlugins& missing, ResultStore& store) {
    const bool grouped = host::startUndo(document);
    const Carried carried = carryOutPlan(document, missing.plan, grouped);
    if (carried == Carried::Done) listWhatStays(missing, store);  // else the list of what is missing stays true
    return carried;
}
