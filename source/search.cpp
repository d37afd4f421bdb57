// A search run: the walk for its plug-in type inside one undo group, the
// not-found row and the texts of what the dialog will tell.
#include "search.h"

#include <cmath>

#include "search_run.h"
#include "search_selection.h"

namespace {

// The start of the not-found row, per PluginType.
constexpr const char* notFoundPrefixes[pluginTypeCount] = {"Tag plugin ", "Shader plugin ", "Object plugin ",
                                                           "VP plugin ", "Material plugin "};

constexpr const char* shadersLeftNotice =
    "Please note that not all shaders were deleted.\nIt is possible that these are within a Layer shader.\nIf so, "
    "these will be listed in the shader list.";

using Walker = void (*)(SearchRun&, host::Element*, int32_t);

Walker walkerFor(PluginType type) {
    switch (type) {
        case PluginType::Tag: return walkTags;
        case PluginType::Shader: return walkMaterials;
        case PluginType::Material: return walkMaterialInstances;
        default: return walkObjects;
    }
}

bool livesInMaterials(PluginType type) { return type == PluginType::Shader || type == PluginType::Material; }

// Walks from every selected object or material that is not skipped.
void walkSelection(SearchRun& run, PluginType type, int32_t scope) {
    Selection selection;
    if (!selectStarts(selection, run.document, type, scope, run.request)) {
        run.outcome.outOfMemory = true;
        return;
    }
    const Walker walker = walkerFor(type);
    for (int32_t i = 0; i < selection.entries.count() && i < selection.skip.size(); ++i) {
        if (run.outcome.outOfMemory) return;
        if (!selection.skip[i]) walker(run, selection.entries.entry(i), scope);
    }
}

}  // namespace

void walkScene(SearchRun& run, PluginType type, int32_t scope) {
    if (type == PluginType::Shader && scope == allElementsScope) {
        walkEveryShader(run);
    } else if (type == PluginType::PostEffect) {
        walkVideoPosts(run, scope);
    } else if (scope != 0) {
        walkSelection(run, type, scope);
    } else {
        host::Element* start =
            livesInMaterials(type) ? host::firstMaterial(run.document) : host::firstObject(run.document);
        walkerFor(type)(run, start, 0);
    }
}

namespace {

// One walk over the places of type: the store emptied, the walk and the
// planned removal inside one undo group, the not-found row.
void searchType(host::Document* document, const SearchRequest& request, PluginType type, int32_t scope,
                ResultStore& store, SearchOutcome& outcome) {
    clearResults(store);
    store.rowCounter = 0;
    RemovalPlan plan;
    SearchRun run{request, document, store, outcome, plan};
    // The not-found row always finds room, whatever the walk leaves.
    outcome.outOfMemory = !store.records.reserve(1);
    // Only a removal needs the group: a walk that lists changes nothing to undo.
    const bool grouped = host::startUndo(document);
    if (!outcome.outOfMemory) walkScene(run, type, scope);
    // Identify looks past the materials' channels only when they hold no
    // instance, so an id the scene holds is never called absent.
    if (!outcome.outOfMemory && request.action == Action::Identify && type == PluginType::Shader &&
        !outcome.foundType) {
        run.materialsUpdated = true;
        walkEveryShader(run);
    }
    if (!outcome.outOfMemory && request.action == Action::Remove && request.keepChildren)
        outcome.outOfMemory = !planKeptChildren(plan);
    // Every text the run will show is made before anything is removed: a
    // text refused after the removal could not say what was done.
    ResultRecord notFound;
    if (!outcome.outOfMemory && request.action != Action::Identify && store.records.empty()) {
        notFound.name =
            host::String(notFoundPrefixes[entryId(type)]) + host::String::number(request.pluginId) + " not found.";
        if (notFound.name.refused()) outcome.outOfMemory = true;
    }
    if (!outcome.outOfMemory && outcome.shadersLeftNotices > 0) {
        outcome.shadersLeftText = host::String(shadersLeftNotice);
        if (outcome.shadersLeftText.refused()) outcome.outOfMemory = true;
    }
    Carried carried = Carried::Done;
    if (!outcome.outOfMemory && request.action == Action::Remove) {
        carried = carryOutPlan(document, plan, grouped);
        outcome.undoRefused = carried == Carried::UndoRefused;
        outcome.outOfMemory = carried == Carried::OutOfMemory;
    } else if (grouped) {
        closeUndoGroup(document);
    }
    // The rows of what a removal kept would not be true of a scene that kept everything.
    if (carried != Carried::Done) {
        clearResults(store);
        outcome.shadersLeftNotices = 0;
        return;
    }
    // A run cut short lists the rows it made and nothing that claims more.
    if (outcome.outOfMemory || request.action == Action::Identify || !store.records.empty()) return;
    store.records.push(std::move(notFound));
}

}  // namespace

bool pluginIdFromField(double value, int32_t& id) {
    if (!std::isfinite(value)) return false;
    const double truncated = std::trunc(value);
    if (truncated < double(INT32_MIN) || truncated > double(INT32_MAX)) return false;
    id = int32_t(truncated);
    return true;
}

bool searchable(const host::Document* document, const SearchRequest& request) {
    return document != nullptr && isAction(request.action) && !searchesMissing(request.action) &&
           isPluginType(request.pluginType);
}

SearchOutcome runSearch(host::Document* document, const SearchRequest& request, ResultStore& store) {
    SearchOutcome outcome;
    if (!searchable(document, request)) {
        outcome.cancelled = true;
        return outcome;
    }
    // Identify searches the whole scene, whatever the scope box holds.
    const int32_t scope = request.action == Action::Identify ? 0 : request.scope;
    searchType(document, request, request.pluginType, scope, store, outcome);
    return outcome;
}
