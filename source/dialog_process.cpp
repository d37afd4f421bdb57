// Process: the controls read once into one request, and the one run it
// asks for, over the active document or a folder; the dialog tells the
// user what it did.
#include "cleartrace_dialog.h"

#include <optional>

#include "dialog_messages.h"
#include "dialog_progress.h"
#include "host/files.h"

SearchOutcome searchAndShow(CleartraceDialog& dialog, host::Document* document, const SearchRequest& request) {
    // The question comes before the walk: a removal the user declines has
    // changed nothing, not even the list.
    SearchOutcome outcome;
    if (searchable(document, request) && !confirmedRemoval(request, outcome)) {
        outcome.cancelled = !outcome.outOfMemory;
    } else {
        outcome = runSearch(document, request, dialog.results);
    }
    if (outcome.foundType) {
        dialog.foundType = outcome.foundType;
        dialog.foundName = outcome.foundName;
    }
    if (outcome.cancelled) return outcome;
    tellOutcome(request, outcome);
    dialog.refreshResults();
    return outcome;
}

namespace {

// The id occurs nowhere in the scene: say what the host's registry knows of it.
void reportFromRegistry(const CleartraceDialog& dialog, int32_t id) {
    const host::String number = host::String::number(id);
    host::String text;
    if (const HostPluginRecord* record = host::findPlugin(id, HOST_PLUGIN_KIND_ANY)) {
        text = "Plugin " + number + " was not found in the scene file,\nbut is reported by C4D as a plugin of type\n'" +
               dialog.typeNameFor(host::pluginKind(record)) + "' with the name '" + host::pluginName(record) +
               "'\n(but see the manual for caveats in this context).";
    } else {
        text =
            "Plugin " + number + " could not be identifed. Try searching the internet for the plugin ID value or name.";
    }
    tellNotice(Action::Identify, text);
}

// The controls, read once.
SearchRequest readRequest(CleartraceDialog& dialog, int32_t id) {
    dialog.action = Action(dialog.getInt32(IDC_ACTION));
    dialog.pluginType = PluginType(dialog.getInt32(IDC_PLUGIN_TYPE));
    dialog.scope = dialog.getInt32(IDC_SCOPE);
    dialog.warnBeforeDeleting = dialog.getBool(IDC_WARN_BEFORE_DELETING);
    dialog.keepLayerShaders = dialog.getBool(IDC_KEEP_LAYER_SHADERS);
    dialog.keepChildren = dialog.getBool(IDC_KEEP_CHILDREN);
    return {dialog.action,           dialog.pluginType,  id, dialog.scope, dialog.warnBeforeDeleting,
            dialog.keepLayerShaders, dialog.keepChildren};
}

// A run lists under the columns of what it lists; rows under other columns
// would not say what they are, so a run whose columns cannot be made does
// not start. A type or scope whose layout the host refused left the columns
// of the list before.
bool showsColumnsFor(CleartraceDialog& dialog, const SearchRequest& request) {
    const bool listsMissing = searchesMissing(request.action);
    // The cells' fixed texts too: a run whose rows would draw without them does not start.
    const bool textsMade = dialog.treeFunctions.makeListTexts();
    if (textsMade && dialog.showsColumnsOf(request)) return true;
    clearResults(dialog.results);
    const auto setLayout = [&] {
        return listsMissing ? dialog.setMissingLayout(request.action) : dialog.setResultLayout();
    };
    if (textsMade && setLayout()) return true;
    SearchOutcome outcome;
    outcome.outOfMemory = true;
    tellOutcome(request, outcome);
    return false;
}

// Find Missing Plugins lists them; Remove Missing Plugins lists them too, so
// that the artist sees what will go before being asked, then removes them
// and lists what stays.
void processMissing(CleartraceDialog& dialog, host::Document* document, const SearchRequest& request) {
    if (!showsColumnsFor(dialog, request)) return;
    MissingPlugins missing;
    SearchOutcome outcome = findMissingPlugins(document, request, missing, dialog.results);
    if (outcome.cancelled) return;
    dialog.refreshResults();  // the artist sees what will go before being asked
    if (request.action == Action::RemoveMissing && !outcome.outOfMemory && foundMissingPlugins(missing)) {
        if (!confirmedRemoval(request, outcome)) {
            if (!outcome.outOfMemory) return;  // not confirmed: the list stays
            clearResults(dialog.results);
        } else {
            const Carried carried = removeMissingPlugins(document, missing, dialog.results);
            outcome.undoRefused = carried == Carried::UndoRefused;
            outcome.outOfMemory = carried == Carried::OutOfMemory;
            // A run cut short for memory shows no counts, as when the search was.
            if (outcome.outOfMemory) clearResults(dialog.results);
        }
    }
    tellOutcome(request, outcome);
    dialog.refreshResults();
}

// Remove Missing Plugins in Folder: the folder for the copies, outside the
// one searched, and the user's consent. False when the run does not go on
// (cancelled, refused or not confirmed: nothing changed); outOfMemory when
// a chooser or the question could not be made.
bool chosenDestination(const SearchRequest& request, const host::Choice& folder, const host::Choice& destination,
                       bool& outOfMemory) {
    outOfMemory = folder.outOfMemory || destination.outOfMemory;
    if (outOfMemory) return true;
    if (!destination.chosen) return false;
    // Copies inside would be searched, and cleaned again, next time.
    if (liesWithin(destination.path, folder.path, outOfMemory)) {
        if (outOfMemory) return true;  // not known to be inside: the run says it ran out of memory
        tellCopiesInside();
        return false;
    }
    return confirmedClean(request, folder.path, destination.path, outOfMemory) || outOfMemory;
}

// Find and Remove Missing Plugins in Folder. The folders are asked for
// first: a user who cancels finds everything as it was. The active scene
// plays no part.
void processFolder(CleartraceDialog& dialog) {
    const host::Choice folder = host::select(HOST_SELECT_FOLDER, "Choose a folder of scene files");
    if (!folder.chosen && !folder.outOfMemory) return;
    const SearchRequest request = readRequest(dialog, 0);
    // Made only for a clean: a search asks the host for nothing more.
    std::optional<host::Choice> destination;
    bool outOfMemory = folder.outOfMemory;
    if (request.action == Action::RemoveMissingInFolder) {
        destination.emplace(host::select(HOST_SELECT_FOLDER, "Choose a folder for the cleaned copies"));
        if (!chosenDestination(request, folder, *destination, outOfMemory)) return;
    }
    dialog.foundType.reset();
    if (!showsColumnsFor(dialog, request)) return;
    FolderOutcome outcome;
    if (outOfMemory) {
        clearResults(dialog.results);
        outcome.outOfMemory = true;
    } else if (request.action == Action::RemoveMissingInFolder) {
        outcome = cleanFolder(folder.path, destination->path, request, dialog.results, statusBarProgress);
    } else {
        outcome = findMissingInFolder(folder.path, dialog.results, statusBarProgress);
    }
    tellFolderOutcome(outcome);
    dialog.refreshResults();
}

}  // namespace

// The plug-in types in the order in which Identify tries them.
constexpr PluginType identifyOrder[] = {PluginType::Tag, PluginType::Shader, PluginType::Object, PluginType::PostEffect,
                                        PluginType::Material};

void process(CleartraceDialog& dialog, host::Document* document) {
    if (searchesFolder(Action(dialog.getInt32(IDC_ACTION)))) {
        processFolder(dialog);
        return;
    }
    // Without a document there is nothing to search: change nothing, show nothing.
    if (document == nullptr) return;
    // The missing-plugins actions do not read the plug-in ID; for the others
    // it is checked once here, so no search ever sees an id it cannot convert.
    const bool missing = searchesMissing(Action(dialog.getInt32(IDC_ACTION)));
    int32_t id = 0;
    if (!missing && !pluginIdFromField(dialog.getFloat(IDC_PLUGIN_ID), id)) {
        host::messageBox("Plugin ID must be between -2147483648 and 2147483647.", HOST_MESSAGE_BOX_NOTICE);
        return;
    }
    host::stopBackgroundWork();
    SearchRequest request = readRequest(dialog, id);
    dialog.foundType.reset();
    if (missing) {
        processMissing(dialog, document, request);
        return;
    }
    if (!showsColumnsFor(dialog, request)) return;
    if (request.action != Action::Identify) {
        searchAndShow(dialog, document, request);
        return;
    }
    // Every type in fixed order, whatever the type box shows, until one holds
    // an instance; a run cut short has said so, and nothing after it may
    // claim more.
    for (const PluginType type : identifyOrder) {
        request.pluginType = type;
        const SearchOutcome outcome = searchAndShow(dialog, document, request);
        if (outcome.foundType || outcome.outOfMemory) return;
    }
    reportFromRegistry(dialog, id);
}
