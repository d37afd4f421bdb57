// The dialog's side of the results list: the tree view's columns for the
// chosen plug-in type, and showing the store after it changed.
#include <span>

#include "cleartrace_dialog.h"

namespace {
// Columns by plug-in type, left to right.
constexpr int32_t tagColumns[] = {COLUMN_NAME, COLUMN_TAG};
constexpr int32_t shaderColumns[] = {COLUMN_NAME, COLUMN_CHANNEL, COLUMN_IN_LAYER};
constexpr int32_t nameColumns[] = {COLUMN_NAME};
constexpr int32_t everySettingsColumns[] = {COLUMN_NAME, COLUMN_RENDER_SETTINGS};

constexpr int32_t missingColumns[] = {COLUMN_PLUGIN_ID, COLUMN_TYPE, COLUMN_INSTANCES, COLUMN_NAME};

// The post effects of every render settings name the render settings too.
bool listsRenderSettings(PluginType pluginType, int32_t scope) {
    return pluginType == PluginType::PostEffect && scope == allRenderSettingsScope;
}

std::span<const int32_t> columnsFor(PluginType pluginType, int32_t scope) {
    if (pluginType == PluginType::Tag) return tagColumns;
    if (pluginType == PluginType::Shader) return shaderColumns;
    if (listsRenderSettings(pluginType, scope)) return everySettingsColumns;
    return nameColumns;
}

// False when the host could not make the layout: the columns stay as they were.
bool setColumns(host::Gui* treeView, std::span<const int32_t> columns) {
    if (treeView == nullptr) return true;
    host::Container layout;
    for (const int32_t column : columns) layout.setInt32(column, HOST_TREE_VIEW_COLUMN_USER);
    if (!layout.valid()) return false;
    host::setTreeViewLayout(treeView, int32_t(columns.size()), layout);
    return true;
}
}  // namespace

bool CleartraceDialog::setResultLayout() {
    const auto type = PluginType(getInt32(IDC_PLUGIN_TYPE));
    const int32_t shownScope = getInt32(IDC_SCOPE);
    const std::span<const int32_t> columns = columnsFor(type, shownScope);
    const bool set = setColumns(treeView, columns);
    treeFunctions.listPluginType = type;
    if (set) shownColumns = columns.data();
    if (set) treeFunctions.listsRenderSettings = listsRenderSettings(type, shownScope);
    // Rows are drawn for the columns the tree view has.
    if (set) treeFunctions.listsMissing = false;
    refreshResults();
    return set;
}

bool CleartraceDialog::setMissingLayout() {
    const bool set = setColumns(treeView, missingColumns);
    if (set) shownColumns = missingColumns;
    if (set) treeFunctions.listsMissing = true;
    refreshResults();
    return set;
}

bool CleartraceDialog::showsColumnsOf(const SearchRequest& request) const {
    // Types that share a column set share its array, so one comparison tells.
    const int32_t* wanted =
        searchesMissing(request.action) ? missingColumns : columnsFor(request.pluginType, request.scope).data();
    return shownColumns == wanted;
}

void CleartraceDialog::refreshResults() {
    if (treeView == nullptr) return;
    host::attachTreeView(treeView, &results, &treeFunctions, nullptr);
    host::refreshTreeView(treeView);
    host::treeViewLayoutChanged(treeView);
}
