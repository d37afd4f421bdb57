#include "cleartrace_dialog.h"

#include <optional>
#include <span>

#include "dialog_messages.h"
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
    if (everyInstanceScope(type) != 0) {
        setInt32(IDC_SCOPE, everyInstanceScope(type));
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
