#include "results.h"

#include <cstdint>
#include <span>

#include "cleartrace_dialog.h"

namespace {
constexpr const char* channelNameTexts[channelCount] = {
    "Color",    "Luminance",      "Transparency", "Reflectance",  "Environment", "Fog",    "Bump",    "Alpha",
    "Specular", "Specular Color", "Glow",         "Displacement", "Diffusion",   "Normal", "Unnamed",
};
}  // namespace

// ---- Store ------------------------------------------------------------------------
bool CleartraceDialog::addResult(host::Element* elementA, host::Element* elementB, int32_t kind, int32_t channel,
                                 bool inLayerShader) {
    if (uint32_t(kind) > uint32_t(PostEffect)) return false;
    ResultRecord record;  // fields a kind does not use keep their empty defaults
    record.rowNumber = rowCounter;
    record.name = host::name(elementA);
    if (kind == Tag) {
        record.tagName = host::name(elementB);
        record.object = elementA;
    } else if (kind == Shader) {
        record.material = elementA;
        record.channel = channel;
        record.inLayerShader = inLayerShader;
    } else if (kind == Object) {
        record.object = elementA;
        record.objectTypeId = host::typeId(elementA);
    }
    // A row that cannot be stored leaves the numbering where it was, so the
    // list keeps every row it did store.
    if (!results.push(std::move(record))) return false;
    ++rowCounter;
    return true;
}

void CleartraceDialog::clearResults() { results.clear(); }

// ---- Tree view ----------------------------------------------------------------------
namespace {
// Columns by plug-in type, left to right.
constexpr int32_t tagColumns[] = {COLUMN_NAME, COLUMN_TAG};
constexpr int32_t shaderColumns[] = {COLUMN_NAME, COLUMN_CHANNEL, COLUMN_IN_LAYER};
constexpr int32_t nameColumns[] = {COLUMN_NAME};

std::span<const int32_t> columnsFor(int32_t pluginType) {
    if (pluginType == Tag) return tagColumns;
    if (pluginType == Shader) return shaderColumns;
    return nameColumns;
}
}  // namespace

bool CleartraceDialog::setResultLayout() {
    host::Container layout;
    const int32_t type = getInt32(IDC_PLUGIN_TYPE);
    const std::span<const int32_t> columns = columnsFor(type);
    for (const int32_t column : columns) layout.setInt32(column, COLUMN_KIND_USER);
    // Without a layout container the columns stay as they were.
    if (treeView != nullptr && layout.valid()) host::setTreeViewLayout(treeView, int32_t(columns.size()), layout);
    treeFunctions.listPluginType = type;
    refreshResults();
    return true;
}

void CleartraceDialog::refreshResults() {
    if (treeView == nullptr) return;
    host::attachTreeView(treeView, &results, &treeFunctions, nullptr);
    host::refreshTreeView(treeView);
    host::treeViewLayoutChanged(treeView);
}

ResultTreeCallbacks::ResultTreeCallbacks(CleartraceDialog& dialog) : dialog_(dialog) {
    for (int32_t i = 0; i < channelCount; ++i) channelNames[i] = host::String(channelNameTexts[i]);
}

ResultTreeCallbacks::~ResultTreeCallbacks() {
    for (host::String& name : channelNames) name.release();
}

namespace {
struct HeaderText {
    int32_t pluginType;
    int32_t column;
    const char* text;
};
constexpr HeaderText headerTexts[] = {
    {Tag, COLUMN_NAME, "Object With Tag"},
    {Tag, COLUMN_TAG, "Tag Name"},
    {Shader, COLUMN_NAME, "Material"},
    {Shader, COLUMN_CHANNEL, "Channel"},
    {Shader, COLUMN_IN_LAYER, "In Layer Shader?"},
    {Object, COLUMN_NAME, "Object Name"},
    {PostEffect, COLUMN_NAME, "Post Effect"},
};

// Widths fit thirty eights in the name column and fifteen in the others.
constexpr const char* nameColumnSample = "888888888888888888888888888888";
constexpr const char* otherColumnSample = "888888888888888";
constexpr int32_t columnPadding = 8;
constexpr int32_t textIndent = 4;
constexpr int32_t cellTextColor = 1003;
constexpr int32_t cellBackgroundColor = 1000;

// The record a row stands for, or null when row does not point at a record of
// the store (no row, or one handed out before the store changed).
ResultRecord* recordAt(host::Vector<ResultRecord>& store, const void* row) {
    const auto first = reinterpret_cast<uintptr_t>(store.begin());
    const auto address = reinterpret_cast<uintptr_t>(row);
    if (row == nullptr || address < first || address >= reinterpret_cast<uintptr_t>(store.end())) return nullptr;
    const uintptr_t offset = address - first;
    if (offset % sizeof(ResultRecord) != 0) return nullptr;
    return &store[int32_t(offset / sizeof(ResultRecord))];
}

int32_t columnWidth(host::DrawArea* area, int32_t column) {
    if (area == nullptr) return 0;
    return host::textWidth(area, column == COLUMN_NAME ? nameColumnSample : otherColumnSample) + columnPadding;
}

void fillCell(const host::DrawInfo& info) {
    host::fillRect(info.area, info.x, info.y, info.x + info.width - 1, info.y + info.height - 1);
    host::setDrawSetting(info.area, 1);
}

void writeCell(const host::DrawInfo& info, const host::String& text) {
    host::setTextColors(info.area, cellTextColor, cellBackgroundColor);
    host::drawText(info.area, text, info.x + textIndent, info.y, 0);
}

// The double-click tests a listed element against the active document by
// address first, so a handle whose element was freed is never passed to the
// host; then by what the row says of it, as the host may have reused the
// address of a freed element for a new one.
bool documentHasObject(const host::Document* document, const host::Element* wanted) {
    host::Element* object = host::firstObject(document);
    while (object != nullptr) {
        if (object == wanted) return true;
        if (host::Element* child = host::firstChild(object)) {
            object = child;
            continue;
        }
        while (object != nullptr && host::next(object) == nullptr) object = host::parent(object);
        if (object != nullptr) object = host::next(object);
    }
    return false;
}

bool stillDescribes(const ResultRecord& record, const host::Element* element, bool objectRow) {
    if (!(host::name(element) == record.name)) return false;
    return !objectRow || host::typeId(element) == record.objectTypeId;
}

bool documentHasMaterial(const host::Document* document, const host::Element* wanted) {
    for (host::Element* material = host::firstMaterial(document); material != nullptr;
         material = host::next(material)) {
        if (material == wanted) return true;
    }
    return false;
}
}  // namespace

void* ResultTreeCallbacks::firstRow(void*, void*) {
    rowCursor = 0;
    return dialog_.results.empty() ? nullptr : &dialog_.results[0];
}

// Records are stored in row order, so the next row, when there is one, is the
// next record; a gap in the row numbers ends the list.
void* ResultTreeCallbacks::nextRow(void*, void*, void* row) {
    ResultRecord* record = recordAt(dialog_.results, row);
    if (record == nullptr || record + 1 == dialog_.results.end()) return nullptr;
    ResultRecord* following = record + 1;
    return int64_t(following->rowNumber) == int64_t(record->rowNumber) + 1 ? following : nullptr;
}

int32_t ResultTreeCallbacks::cellWidth(void*, void*, void*, int32_t column, host::DrawArea* area) {
    return columnWidth(area, column);
}

int32_t ResultTreeCallbacks::headerWidth(void*, void*, int32_t column, host::DrawArea* area) {
    return columnWidth(area, column);
}

int32_t ResultTreeCallbacks::rowHeight(void*, void*, void*, int32_t, host::DrawArea* area) {
    return area == nullptr ? 0 : host::fontHeight(area);
}

void ResultTreeCallbacks::drawCell(void*, void*, void* row, int32_t column, const host::DrawInfo* info, int32_t) {
    if (identifyMode || info == nullptr) return;
    fillCell(*info);
    if (const ResultRecord* record = recordAt(dialog_.results, row)) writeCell(*info, cellText(*record, column));
}

bool ResultTreeCallbacks::drawHeader(void*, void*, int32_t column, const host::DrawInfo* info) {
    if (identifyMode || info == nullptr) return true;
    fillCell(*info);
    writeCell(*info, headerText(column));
    return true;
}

int64_t ResultTreeCallbacks::rowId(void*, void*, void*) { return rowCursor; }

void ResultTreeCallbacks::contextMenu(void*, void*, void*, int32_t, HostContainer* menu) {
    if (menu != nullptr) host::clearContainer(menu);
}

bool ResultTreeCallbacks::doubleClick(void*, void*, void* row, int32_t, const HostMouseInfo*) {
    host::Document* document = host::activeDocument();
    if (document == nullptr) return true;
    if (const ResultRecord* record = recordAt(dialog_.results, row)) {
        const bool listsObjects = listPluginType == Tag || listPluginType == Object;
        if (listsObjects && record->object != nullptr && documentHasObject(document, record->object) &&
            stillDescribes(*record, record->object, listPluginType == Object)) {
            host::setActiveObject(document, record->object, 0);
        } else if (listPluginType == Shader && record->material != nullptr &&
                   documentHasMaterial(document, record->material) &&
                   stillDescribes(*record, record->material, false)) {
            host::setActiveMaterial(document, record->material, 0);
        }
    }
    host::sceneChanged(0);
    return true;
}

host::String ResultTreeCallbacks::cellText(const ResultRecord& record, int32_t column) const {
    if (column == COLUMN_NAME) return record.name;
    if (listPluginType == Tag && column == COLUMN_TAG) return record.tagName;
    if (listPluginType != Shader) return {};
    if (column == COLUMN_CHANNEL) {
        // One unsigned test: every negative channel but -1 is "Custom" too.
        if (uint32_t(record.channel) < uint32_t(channelCount)) return channelNames[record.channel];
        return record.channel == -1 ? "--" : "Custom";
    }
    if (column == COLUMN_IN_LAYER) {
        if (record.channel == -1) return "--";
        return record.inLayerShader ? "Yes" : "No";
    }
    return {};
}

host::String ResultTreeCallbacks::headerText(int32_t column) const {
    for (const HeaderText& header : headerTexts) {
        if (header.pluginType == listPluginType && header.column == column) return header.text;
    }
    return {};
}
