// A search run: the confirmation, the walk for each plug-in type inside one
// undo group, the not-found row, and what the user is told afterwards.
#include "search.h"

#include <cmath>

#include "host/dialog.h"
#include "search_run.h"
#include "search_selection.h"

namespace {

struct TypeTexts {
    const char* notFoundPrefix;
    const char* identifyMiddle;
};
// Per PluginType.
constexpr TypeTexts typeTexts[] = {
    {"Tag plugin ", " is a Tag plugin with the default name "},
    {"Shader plugin ", " is a Shader plugin with the default name "},
    {"Object plugin ", " is an Object plugin with the default name "},
    {"VP plugin ", " is a VideoPost plugin with the default name "},
};

// What a run cut short by lack of memory tells the user, per Action.
constexpr const char* listIncomplete = "Cleartrace ran out of memory. The list is incomplete.";
constexpr const char* nothingRemoved = "Cleartrace ran out of memory. Nothing was removed.";
constexpr const char* outOfMemoryTexts[] = {
    "Cleartrace ran out of memory. The search is incomplete.",
    listIncomplete,
    nothingRemoved,
    listIncomplete,
    nothingRemoved,
};

constexpr const char* undoRefusedText = "Cleartrace could not record the removal for Undo. Nothing was removed.";

// The question before a removal, per Action (only the removals ask).
constexpr const char* removalQuestions[] = {
    nullptr,
    nullptr,
    "Are you sure you want to delete the plugin instances?",
    nullptr,
    "Are you sure you want to delete every instance of the missing plugins?",
};

constexpr const char* shadersLeftNotice =
    "Please note that not all shaders were deleted.\nIt is possible that these are within a Layer shader.\nIf so, "
    "these will be listed in the shader list.";

using Walker = void (*)(SearchRun&, host::Element*, int32_t);

Walker walkerFor(PluginType type) {
    return type == PluginType::Tag ? walkTags : type == PluginType::Shader ? walkMaterials : walkObjects;
}

// Walks from every selected object or material that is not skipped.
void walkSelection(SearchRun& run, PluginType type, int32_t scope) {
    Selection selection;
    if (!selectStarts(selection, run.document, type, scope, run.request.pluginId, run.request.action)) {
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
    if (type == PluginType::PostEffect) {
        walkVideoPosts(run);
    } else if (scope != 0) {
        walkSelection(run, type, scope);
    } else {
        host::Element* start =
            type == PluginType::Shader ? host::firstMaterial(run.document) : host::firstObject(run.document);
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
    // Every text the run will show is made before anything is removed: a
    // text refused after the removal could not say what was done.
    ResultRecord notFound;
    if (!outcome.outOfMemory && request.action != Action::Identify && store.records.empty()) {
        notFound.name = host::String(typeTexts[entryId(type)].notFoundPrefix) + host::String::number(request.pluginId) +
                        " not found.";
        if (notFound.name.refused()) outcome.outOfMemory = true;
    }
    if (!outcome.outOfMemory && outcome.shadersLeftNotices > 0) {
        outcome.shadersLeftText = host::String(shadersLeftNotice);
        if (outcome.shadersLeftText.refused()) outcome.outOfMemory = true;
    }
    if (!outcome.outOfMemory && request.action == Action::Remove) {
        outcome.undoRefused = !carryOutPlan(document, plan, grouped);
    } else if (grouped) {
        closeUndoGroup(document);
    }
    // The rows of what a removal kept would not be true of a scene that kept everything.
    if (outcome.undoRefused) {
        clearResults(store);
        outcome.shadersLeftNotices = 0;
        return;
    }
    // A run cut short lists the rows it made and nothing that claims more.
    if (outcome.outOfMemory || request.action == Action::Identify || !store.records.empty()) return;
    store.records.push(std::move(notFound));
}

}  // namespace

bool confirmedRemoval(const SearchRequest& request, SearchOutcome& outcome) {
    if (!isAction(request.action) || !request.warnBeforeDeleting) return true;
    const char* wording = removalQuestions[entryId(request.action)];
    if (wording == nullptr) return true;
    const host::String question(wording);
    // Out of memory the host makes the empty text: a blank Yes/No box would
    // have the user confirm a removal without saying what it is.
    if (question.refused()) {
        outcome.outOfMemory = true;
        return false;
    }
    return host::messageBox(question, HOST_MESSAGE_BOX_QUESTION) == HOST_ANSWER_YES;
}

bool pluginIdFromField(double value, int32_t& id) {
    if (!std::isfinite(value)) return false;
    const double truncated = std::trunc(value);
    if (truncated < double(INT32_MIN) || truncated > double(INT32_MAX)) return false;
    id = int32_t(truncated);
    return true;
}

SearchOutcome runSearch(host::Document* document, const SearchRequest& request, ResultStore& store) {
    SearchOutcome outcome;
    if (document == nullptr || !isAction(request.action) || searchesMissing(request.action) ||
        !isPluginType(request.pluginType)) {
        outcome.cancelled = true;
        return outcome;
    }
    if (!confirmedRemoval(request, outcome)) {
        outcome.cancelled = !outcome.outOfMemory;
        return outcome;
    }
    // Identify searches the whole scene, whatever the scope box holds.
    const int32_t scope = request.action == Action::Identify ? 0 : request.scope;
    searchType(document, request, request.pluginType, scope, store, outcome);
    return outcome;
}

void tellOutcome(const SearchRequest& request, const SearchOutcome& outcome) {
    if (outcome.cancelled) return;
    if (outcome.outOfMemory) {
        host::messageBox(outOfMemoryTexts[entryId(request.action)], HOST_MESSAGE_BOX_NOTICE);
        return;
    }
    if (outcome.undoRefused) {
        host::messageBox(undoRefusedText, HOST_MESSAGE_BOX_NOTICE);
        return;
    }
    for (int32_t i = 0; i < outcome.shadersLeftNotices; ++i)
        host::messageBox(outcome.shadersLeftText, HOST_MESSAGE_BOX_NOTICE);
    if (request.action == Action::Identify && outcome.foundType) {
        tellNotice(request.action, host::String("Plugin ") + host::String::number(request.pluginId) +
                                       typeTexts[entryId(*outcome.foundType)].identifyMiddle + outcome.foundName + ".");
    }
}

void tellNotice(Action action, const host::String& text) {
    if (!text.refused()) {
        host::messageBox(text, HOST_MESSAGE_BOX_NOTICE);
    } else if (isAction(action)) {
        // Shown whole or not at all; if even this cannot be made, nothing is shown.
        host::messageBox(outOfMemoryTexts[entryId(action)], HOST_MESSAGE_BOX_NOTICE);
    }
}
