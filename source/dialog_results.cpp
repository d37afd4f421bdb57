// The dialog's side of the results list: the tree view's columns for the
// chosen plug-in type, showing the store after it changed, and saving the
// list as a CSV file.
#include <span>

#include "cleartrace_dialog.h"
#include "dialog_messages.h"
#include "host/files.h"

namespace {
// Columns by plug-in type, left to right.
constexpr int32_t tagColumns[] = {COLUMN_NAME, COLUMN_TAG};
constexpr int32_t shaderColumns[] = {COLUMN_NAME, COLUMN_CHANNEL, COLUMN_IN_LAYER};
constexpr int32_t nameColumns[] = {COLUMN_NAME};
constexpr int32_t everySettingsColumns[] = {COLUMN_NAME, COLUMN_RENDER_SETTINGS};
constexpr int32_t everyElementColumns[] = {COLUMN_NAME, COLUMN_OWNER_TYPE, COLUMN_CHANNEL, COLUMN_IN_LAYER};

constexpr int32_t missingColumns[] = {COLUMN_PLUGIN_ID, COLUMN_TYPE, COLUMN_INSTANCES, COLUMN_NAME};
constexpr int32_t folderColumns[] = {COLUMN_SCENE_FILE, COLUMN_PLUGIN_ID, COLUMN_TYPE, COLUMN_INSTANCES, COLUMN_NAME};
constexpr int32_t cleanColumns[] = {COLUMN_SCENE_FILE, COLUMN_PLUGIN_ID, COLUMN_TYPE,
                                    COLUMN_INSTANCES,  COLUMN_NAME,      COLUMN_CLEANED_COPY};

// The missing plug-ins' columns of action: of one scene, of a folder, or of
// a folder's cleaned copies.
std::span<const int32_t> missingColumnsOf(Action action) {
    if (action == Action::RemoveMissingInFolder) return cleanColumns;
    if (action == Action::FindMissingInFolder) return folderColumns;
    return missingColumns;
}

// The post effects of every render settings name the render settings too.
bool listsRenderSettings(PluginType pluginType, int32_t scope) {
    return pluginType == PluginType::PostEffect && scope == allRenderSettingsScope;
}

// The shaders of every element name their owner and its type.
bool listsOwners(PluginType pluginType, int32_t scope) {
    return pluginType == PluginType::Shader && scope == allElementsScope;
}

std::span<const int32_t> columnsFor(PluginType pluginType, int32_t scope) {
    if (pluginType == PluginType::Tag) return tagColumns;
    if (listsOwners(pluginType, scope)) return everyElementColumns;
    if (pluginType == PluginType::Shader) return shaderColumns;
    if (listsRenderSettings(pluginType, scope)) return everySettingsColumns;
    return nameColumns;
}

// False when the host could not make the layout: the columns stay as they were.
bool setColumns(host::Gui* treeView, ResultTreeCallbacks& list, std::span<const int32_t> columns) {
    if (treeView != nullptr) {
        host::Container layout;
        for (const int32_t column : columns) layout.setInt32(column, HOST_TREE_VIEW_COLUMN_USER);
        if (!layout.valid()) return false;
        host::setTreeViewLayout(treeView, int32_t(columns.size()), layout);
    }
    list.shownColumns = columns;
    return true;
}

constexpr const char* saveChooserTitle = "Save List as CSV";
constexpr const char* savedListName = "Cleartrace.csv";
}  // namespace

bool CleartraceDialog::setResultLayout() {
    const auto type = PluginType(getInt32(IDC_PLUGIN_TYPE));
    const int32_t shownScope = getInt32(IDC_SCOPE);
    const bool set = setColumns(treeView, treeFunctions, columnsFor(type, shownScope));
    treeFunctions.listPluginType = type;
    if (set) treeFunctions.listsRenderSettings = listsRenderSettings(type, shownScope);
    if (set) treeFunctions.listsOwners = listsOwners(type, shownScope);
    // Rows are drawn for the columns the tree view has.
    if (set) treeFunctions.listsMissing = false;
    if (set) treeFunctions.listsFolder = false;
    if (set) treeFunctions.listsCopies = false;
    refreshResults();
    return set;
}

// The columns of the missing plug-ins, of one scene, of a folder or of a
// folder's cleaned copies.
bool CleartraceDialog::setMissingLayout(Action listed) {
    const bool set = setColumns(treeView, treeFunctions, missingColumnsOf(listed));
    if (set) treeFunctions.listsMissing = true;
    if (set) treeFunctions.listsFolder = searchesFolder(listed);
    if (set) treeFunctions.listsCopies = listed == Action::RemoveMissingInFolder;
    refreshResults();
    return set;
}

// The file is written whole or not at all, so a failure leaves an earlier
// one as it was; Identify shows no list, and so saves none.
void CleartraceDialog::saveListAsCsv() {
    if (treeFunctions.identifyMode) return;
    const host::Path proposed = host::Path::fromString(savedListName);
    const host::Choice file = host::select(HOST_SELECT_SAVE, saveChooserTitle, &proposed);
    if (file.outOfMemory) {
        tellNotSaved(host::String::adopt(nullptr));
        return;
    }
    if (!file.chosen) return;
    host::Vector<char> csv;
    if (!listAsCsv(treeFunctions, results, csv) || !host::writeWhole(file.path, csv.data(), csv.size())) {
        tellNotSaved(file.path.toString());
    }
}

bool CleartraceDialog::showsColumnsOf(const SearchRequest& request) const {
    // Types that share a column set share its array, so one comparison tells.
    const int32_t* wanted = searchesMissing(request.action) ? missingColumnsOf(request.action).data()
                                                            : columnsFor(request.pluginType, request.scope).data();
    return treeFunctions.shownColumns.data() == wanted;
}

void CleartraceDialog::refreshResults() {
    if (treeView == nullptr) return;
    host::attachTreeView(treeView, &results, &treeFunctions, nullptr);
    host::refreshTreeView(treeView);
    host::treeViewLayoutChanged(treeView);
}
