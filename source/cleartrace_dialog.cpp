#include "cleartrace_dialog.h"

#include <optional>
#include <span>

#include "dialog_messages.h"
#include "dialog_progress.h"
#include "host/documents.h"
#include "host/files.h"
#include "host/tree_view.h"
#include "main.h"

namespace {
// Names of the host plug-in kinds 0 to 21, then 32 to 38.
constexpr const char* pluginKindNames[typeNameCount] = {
    "Any",           "Shader",          "Material",
    "Dummy",         "Command",         "Object",
    "Tag",           "Bitmap Filter",   "VideoPost",
    "Tool",          "Scene Hook",      "Node",
    "Library",       "Bitmap Loader",   "Bitmap Saver",
    "Scene Loader",  "Scene Saver",     "Core Message",
    "Custom GUI",    "Custom Datatype", "Resource Datatype",
    "Manager Info",  "CTrack",          "Falloff",
    "Vmap Transfer", "Preferences",     "Snap",
    "Field Layer",   "Description",
};
}  // namespace

CleartraceDialog::CleartraceDialog() {
    for (int32_t i = 0; i < typeNameCount; ++i) typeNames[i] = host::String(pluginKindNames[i]);
    treeFunctions.owner = this;
    treeFunctions.listInstances = [](void* owner, PluginType type, int32_t pluginId) {
        static_cast<CleartraceDialog*>(owner)->listInstancesOf(type, pluginId);
    };
    treeFunctions.openSceneFile = [](void* owner, const host::String& path, const host::String& shown) {
        static_cast<CleartraceDialog*>(owner)->findMissingInSceneFile(path, shown);
    };
}

CleartraceDialog::~CleartraceDialog() {
    // A tree view that still shows the records must not call into them later.
    if (treeView != nullptr) host::attachTreeView(treeView, nullptr, nullptr, nullptr);
    // Records first, then the names; the tree-view callbacks and the host
    // dialog go with the members and the base.
    clearResults(results);
    for (host::String& name : typeNames) name.release();
    foundName.release();
}

host::String CleartraceDialog::typeNameFor(int32_t kind) const {
    // Kinds 0 to 21, then 32 to 38.
    const int32_t entry = kind <= 21 ? kind : kind - 10;
    if (entry < 0 || entry >= typeNameCount) return host::String("Unknown");
    return typeNames[entry];
}

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

// ---- Window hooks -------------------------------------------------------------
namespace {
constexpr int32_t leftAligned = HOST_LAYOUT_LEFT | HOST_LAYOUT_CENTER;
constexpr int32_t leftTop = HOST_LAYOUT_LEFT | HOST_LAYOUT_TOP;
constexpr int32_t fillWidthTop = HOST_LAYOUT_FILL_WIDTH | HOST_LAYOUT_TOP;
constexpr int32_t fillBoth = HOST_LAYOUT_FILL_WIDTH | HOST_LAYOUT_FILL_HEIGHT;
// The options' frame carries their title.
constexpr uint32_t titledBorder = HOST_BORDER_GROUP | HOST_BORDER_TITLED;

// The number field's range: far beyond the plug-in ids, so an out-of-range id can be refused.
constexpr double pluginIdFieldLimit = 1e18;

void setPluginIdField(CleartraceDialog& dialog, int32_t id) {
    dialog.setFloat(IDC_PLUGIN_ID, double(id), -pluginIdFieldLimit, pluginIdFieldLimit, 1.0, HOST_NUMBER_FORMAT_FLOAT);
}

void addComboEntries(CleartraceDialog& dialog, int32_t comboId, std::span<const ComboEntry> entries) {
    for (const ComboEntry& entry : entries) dialog.addComboEntry(comboId, entry.id, entry.text);
}

void addFilledComboBox(CleartraceDialog& dialog, int32_t id, std::span<const ComboEntry> entries) {
    dialog.addComboBox(id, fillWidthTop, 0, 0);
    addComboEntries(dialog, id, entries);
}

void addLabel(CleartraceDialog& dialog, int32_t width, const char* text) {
    dialog.addStaticText(IDC_ANONYMOUS, leftTop, width, 0, text, HOST_BORDER_NONE);
}

host::Gui* addTreeView(CleartraceDialog& dialog) {
    host::Container settings;
    settings.setBool(HOST_TREE_VIEW_HEADER_ROW, true);
    settings.setBool(HOST_TREE_VIEW_BORDER, true);
    settings.setBool(HOST_TREE_VIEW_FIXED_LAYOUT, true);
    return dialog.addCustomGui(IDC_TREE_VIEW, HOST_LIBRARY_TREE_VIEW, host::String(), fillBoth, 0,
                               HOST_TREE_VIEW_MIN_HEIGHT, settings);
}

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

void openHelpFile() {
    const host::Path file = moduleFolder().join("Cleartrace.pdf");
    host::openWithDefaultApplication(host::Path::fromString(file.toString()));
}

void pluginTypeChanged(CleartraceDialog& dialog) {
    const auto type = PluginType(dialog.getInt32(IDC_PLUGIN_TYPE));
    clearResults(dialog.results);
    if (isPluginType(type)) {
        dialog.clearComboEntries(IDC_SCOPE);
        addComboEntries(dialog, IDC_SCOPE, scopeEntries[entryId(type)]);
    }
    dialog.setInt32(IDC_SCOPE, 0);
    dialog.treeFunctions.listPluginType = type;
    dialog.setResultLayout();
}

void scopeChanged(CleartraceDialog& dialog) {
    clearResults(dialog.results);
    dialog.setResultLayout();
}

// The results stay as they are; only what can be operated changes.
void actionChanged(CleartraceDialog& dialog) {
    const auto action = Action(dialog.getInt32(IDC_ACTION));
    // The missing-plugins actions search every type over the whole scene.
    const bool searchesOneType = action != Action::Identify && !searchesMissing(action);
    const bool removes =
        action == Action::Remove || action == Action::RemoveMissing || action == Action::RemoveMissingInFolder;
    dialog.enable(IDC_PLUGIN_TYPE, searchesOneType);
    dialog.enable(IDC_SCOPE, searchesOneType);
    dialog.enable(IDC_TREE_VIEW, action != Action::Identify);
    dialog.treeFunctions.identifyMode = action == Action::Identify;
    dialog.enable(IDC_WARN_BEFORE_DELETING, removes);
    dialog.enable(IDC_KEEP_LAYER_SHADERS, removes);
    dialog.enable(IDC_KEEP_CHILDREN, removes);
}
}  // namespace

bool CleartraceDialog::createLayout() {
    DialogBase::createLayout();
    setTitle(resourceString(IDS_DIALOG_TITLE));
    menuClear();
    menuSubBegin("List");
    menuAddCommand(IDM_SAVE_LIST, "Save List as CSV...");
    menuSubEnd();
    menuSubBegin("Help");
    menuAddCommand(IDM_ABOUT, "About...");
    menuAddCommand(IDM_SHOW_HELP_FILE, "Show Help File (.PDF)...");
    menuSubEnd();
    menuFinish();

    groupBegin(IDC_ANONYMOUS, fillWidthTop, 2, 0, "Options", 0);
    groupBorderSpace(4, 4, 4, 4);
    groupBorder(titledBorder);
    addLabel(*this, 200, "Action to Take");
    addFilledComboBox(*this, IDC_ACTION, actionEntries);
    addLabel(*this, 200, "Plugin Type");
    addFilledComboBox(*this, IDC_PLUGIN_TYPE, pluginTypeEntries);
    addLabel(*this, 300, "Scope of Process");
    addFilledComboBox(*this, IDC_SCOPE, scopeEntries[entryId(PluginType::Tag)]);
    addCheckBox(IDC_WARN_BEFORE_DELETING, fillWidthTop, 0, 0, "Warn Before Deleting");
    // What a removal keeps, stacked in one cell, so that every label of the
    // two columns stays beside its control.
    groupBegin(IDC_ANONYMOUS, fillWidthTop, 1, 0, host::String(), 0);
    addCheckBox(IDC_KEEP_LAYER_SHADERS, fillWidthTop, 0, 0, "Do Not Remove Shaders in a Layer Shader");
    addCheckBox(IDC_KEEP_CHILDREN, fillWidthTop, 0, 0, "Keep Children of Removed Objects");
    groupEnd();
    addLabel(*this, 200, "Plugin ID");
    addNumberField(IDC_PLUGIN_ID, fillWidthTop, 500, 0);
    groupEnd();

    groupBegin(IDC_ANONYMOUS, leftAligned, 4, 0, host::String(), 0);
    addButton(IDC_PROCESS, leftAligned, 100, 0, "Process");
    addButton(IDC_CANCEL, leftAligned, 100, 0, "Cancel");
    groupEnd();

    groupBegin(IDC_ANONYMOUS, fillBoth, 1, 0, host::String(), 0);
    groupBorderSpace(4, 4, 4, 4);
    treeView = addTreeView(*this);
    groupEnd();
    return true;
}

// The window always opens on Generate List, Tag and the first scope; the check
// boxes show what the last Process took.
bool CleartraceDialog::initValues() {
    if (!DialogBase::initValues()) return false;
    setPluginIdField(*this, 0);
    setInt32(IDC_ACTION, entryId(Action::GenerateList));
    setInt32(IDC_PLUGIN_TYPE, entryId(PluginType::Tag));
    setInt32(IDC_SCOPE, 0);
    setBool(IDC_WARN_BEFORE_DELETING, warnBeforeDeleting);
    enable(IDC_WARN_BEFORE_DELETING, false);
    setBool(IDC_KEEP_LAYER_SHADERS, keepLayerShaders);
    enable(IDC_KEEP_LAYER_SHADERS, false);
    setBool(IDC_KEEP_CHILDREN, keepChildren);
    enable(IDC_KEEP_CHILDREN, false);
    treeFunctions.identifyMode = false;
    setResultLayout();
    return true;
}

bool CleartraceDialog::command(int32_t id, const HostContainer*) {
    host::Document* document = host::activeDocument();
    switch (id) {
        case IDC_PROCESS: process(*this, document); break;
        case IDC_CANCEL:
            // Closing through Cancel empties the list as closing the window
            // does; otherwise the next window would show these rows under the
            // columns of another plug-in type.
            clearResults(results);
            close();
            break;
        case IDM_ABOUT: host::messageBox(resourceString(IDS_ABOUT_TEXT), HOST_MESSAGE_BOX_NOTICE); break;
        case IDM_SHOW_HELP_FILE: openHelpFile(); break;
        case IDM_SAVE_LIST: saveListAsCsv(); break;
        case IDC_PLUGIN_TYPE: pluginTypeChanged(*this); break;
        case IDC_SCOPE: scopeChanged(*this); break;
        case IDC_ACTION: actionChanged(*this); break;
        default: break;
    }
    return true;
}

void CleartraceDialog::listInstancesOf(PluginType type, int32_t pluginId) {
    setInt32(IDC_ACTION, entryId(Action::GenerateList));
    actionChanged(*this);
    setInt32(IDC_PLUGIN_TYPE, entryId(type));
    pluginTypeChanged(*this);
    // The scope whose list has as many rows as the missing plug-in's count.
    if (type == PluginType::PostEffect) {
        setInt32(IDC_SCOPE, allRenderSettingsScope);
        scopeChanged(*this);
    }
    setPluginIdField(*this, pluginId);
    process(*this, host::activeDocument());
}

void CleartraceDialog::findMissingInSceneFile(const host::String& path, const host::String& shown) {
    // A file that can no longer be read changes nothing, the list included.
    if (!host::openDocument(host::Path::fromString(path))) {
        tellNotOpened(shown);
        return;
    }
    setInt32(IDC_ACTION, entryId(Action::FindMissing));
    actionChanged(*this);
    process(*this, host::activeDocument());
}

bool CleartraceDialog::askClose() {
    clearResults(results);
    return false;
}

int32_t CleartraceDialog::message(const HostContainer* msg, HostContainer* result) {
    // The window and its controls are gone: the next layout makes a new tree view.
    if (host::containerId(msg) == HOST_MSG_WINDOW_GONE) treeView = nullptr;
    return DialogBase::message(msg, result);
}
