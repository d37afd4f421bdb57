#include "results.h"

#include <cstdint>
#include <iterator>
#include <span>

namespace {
constexpr const char* channelNameTexts[HOST_MATERIAL_CHANNEL_COUNT] = {
    "Color",    "Luminance",      "Transparency", "Reflectance",  "Environment", "Fog",    "Bump",    "Alpha",
    "Specular", "Specular Color", "Glow",         "Displacement", "Diffusion",   "Normal", "Unnamed",
};
constexpr const char* otherCellTexts[] = {"--", "Custom", "Yes", "No"};

struct HeaderText {
    PluginType pluginType;
    int32_t column;
    const char* text;
};
constexpr HeaderText headerTexts[] = {
    {PluginType::Tag, COLUMN_NAME, "Object With Tag"},
    {PluginType::Tag, COLUMN_TAG, "Tag Name"},
    {PluginType::Shader, COLUMN_NAME, "Material"},
    {PluginType::Shader, COLUMN_CHANNEL, "Channel"},
    {PluginType::Shader, COLUMN_IN_LAYER, "In Layer Shader?"},
    {PluginType::Object, COLUMN_NAME, "Object Name"},
    {PluginType::PostEffect, COLUMN_NAME, "Post Effect"},
};
struct MissingHeaderText {
    int32_t column;
    const char* text;
};
constexpr MissingHeaderText missingHeaderTexts[] = {
    {COLUMN_PLUGIN_ID, "Plugin ID"},
    {COLUMN_TYPE, "Type"},
    {COLUMN_INSTANCES, "Instances"},
    {COLUMN_NAME, "Name"},
};

// Where each kind of fixed text starts in ResultTreeCallbacks::listTexts.
constexpr int32_t textNone = HOST_MATERIAL_CHANNEL_COUNT;
constexpr int32_t textCustom = textNone + 1;
constexpr int32_t textYes = textNone + 2;
constexpr int32_t textNo = textNone + 3;
constexpr int32_t textTypes = textNone + int32_t(std::size(otherCellTexts));
constexpr int32_t textHeaders = textTypes + int32_t(std::size(pluginTypeEntries));
constexpr int32_t textMissingHeaders = textHeaders + int32_t(std::size(headerTexts));
static_assert(textMissingHeaders + int32_t(std::size(missingHeaderTexts)) == ResultTreeCallbacks::listTextCount);

const char* listTextSource(int32_t index) {
    if (index < textNone) return channelNameTexts[index];
    if (index < textTypes) return otherCellTexts[index - textNone];
    if (index < textHeaders) return pluginTypeEntries[index - textTypes].text;
    if (index < textMissingHeaders) return headerTexts[index - textHeaders].text;
    return missingHeaderTexts[index - textMissingHeaders].text;
}
}  // namespace

// ---- Store ------------------------------------------------------------------------
bool addResult(ResultStore& store, host::Element* listed, host::Element* tag, PluginType kind, int32_t channel,
               bool inLayerShader) {
    if (!isPluginType(kind)) return false;
    ResultRecord record;  // fields a kind does not use keep their empty defaults
    record.rowNumber = store.rowCounter;
    record.name = host::name(listed);
    if (record.name.refused()) return false;
    if (kind == PluginType::Tag) {
        record.tagName = host::name(tag);
        if (record.tagName.refused()) return false;
        record.object = listed;
    } else if (kind == PluginType::Shader) {
        record.material = listed;
        record.channel = channel;
        record.inLayerShader = inLayerShader;
    } else if (kind == PluginType::Object) {
        record.object = listed;
        record.objectTypeId = host::typeId(listed);
    }
    // A row that cannot be stored leaves the numbering where it was, so the
    // list keeps every row it did store.
    if (!store.records.push(std::move(record))) return false;
    ++store.rowCounter;
    return true;
}

bool addMissingPluginRow(ResultStore& store, PluginType type, int32_t pluginId, int32_t instances,
                         const host::String& name, const host::String& pluginIdText,
                         const host::String& instancesText) {
    ResultRecord record;
    record.pluginIdText = pluginIdText;
    record.instancesText = instancesText;
    record.rowNumber = store.rowCounter;
    record.name = name;
    record.pluginType = type;
    record.pluginId = pluginId;
    record.instances = instances;
    if (!store.records.push(std::move(record))) return false;
    ++store.rowCounter;
    return true;
}

void clearResults(ResultStore& store) { store.records.clear(); }

// ---- Tree view rows ----------------------------------------------------------------
ResultTreeCallbacks::ResultTreeCallbacks() { makeListTexts(); }

ResultTreeCallbacks::~ResultTreeCallbacks() {
    for (host::String& text : listTexts) text.release();
}

bool ResultTreeCallbacks::makeListTexts() {
    bool made = true;
    for (int32_t i = 0; i < listTextCount; ++i) {
        if (listTexts[i].refused() || listTexts[i].handle() == nullptr) listTexts[i] = host::String(listTextSource(i));
        made = made && !listTexts[i].refused();
    }
    return made;
}

namespace {

// Widths fit thirty eights in the name column and fifteen in the others.
constexpr const char* nameColumnSample = "888888888888888888888888888888";
constexpr const char* otherColumnSample = "888888888888888";
constexpr int32_t columnPadding = 8;
constexpr int32_t textIndent = 4;

// The record a row stands for, or null when row does not point at a record of
// the store (no row, or one handed out before the store changed).
ResultRecord* recordAt(void* root, const void* row) {
    if (root == nullptr || row == nullptr) return nullptr;
    host::Vector<ResultRecord>& records = static_cast<ResultStore*>(root)->records;
    const auto first = reinterpret_cast<uintptr_t>(records.begin());
    const auto address = reinterpret_cast<uintptr_t>(row);
    if (address < first || address >= reinterpret_cast<uintptr_t>(records.end())) return nullptr;
    const uintptr_t offset = address - first;
    if (offset % sizeof(ResultRecord) != 0) return nullptr;
    return &records[int32_t(offset / sizeof(ResultRecord))];
}

int32_t columnWidth(host::DrawArea* area, int32_t column) {
    if (area == nullptr) return 0;
    return host::textWidth(area, column == COLUMN_NAME ? nameColumnSample : otherColumnSample) + columnPadding;
}

void fillCell(const host::DrawInfo& info) {
    host::fillRect(info.area, info.x, info.y, info.x + info.width - 1, info.y + info.height - 1);
    host::setDrawSetting(info.area, HOST_DRAW_SETTING_TEXT);
}

void writeCell(const host::DrawInfo& info, const host::String& text) {
    host::setTextColors(info.area, HOST_COLOR_TEXT, HOST_COLOR_TEXT_BACKGROUND);
    host::drawText(info.area, text, info.x + textIndent, info.y, HOST_DRAW_TEXT_PLAIN);
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

void* ResultTreeCallbacks::firstRow(void* root, void*) {
    rowCursor = 0;
    if (root == nullptr) return nullptr;
    host::Vector<ResultRecord>& records = static_cast<ResultStore*>(root)->records;
    return records.empty() ? nullptr : &records[0];
}

// Records are stored in row order, so the next row, when there is one, is the
// next record; a gap in the row numbers ends the list.
void* ResultTreeCallbacks::nextRow(void* root, void*, void* row) {
    ResultRecord* record = recordAt(root, row);
    if (record == nullptr || record + 1 == static_cast<ResultStore*>(root)->records.end()) return nullptr;
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

void ResultTreeCallbacks::drawCell(void* root, void*, void* row, int32_t column, const host::DrawInfo* info, int32_t) {
    if (identifyMode || info == nullptr) return;
    fillCell(*info);
    if (const ResultRecord* record = recordAt(root, row)) writeCell(*info, cellText(*record, column));
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

bool ResultTreeCallbacks::doubleClick(void* root, void*, void* row, int32_t, const HostMouseInfo*) {
    host::Document* document = host::activeDocument();
    if (document == nullptr) return true;
    const ResultRecord* record = recordAt(root, row);
    if (listsMissing) {
        // The record goes with the list the dialog makes next: copied first.
        if (record != nullptr && record->instances > 0 && listInstances != nullptr)
            listInstances(owner, record->pluginType, record->pluginId);
    } else if (record != nullptr) {
        const bool listsObjects = listPluginType == PluginType::Tag || listPluginType == PluginType::Object;
        if (listsObjects && record->object != nullptr && documentHasObject(document, record->object) &&
            stillDescribes(*record, record->object, listPluginType == PluginType::Object)) {
            host::setActiveObject(document, record->object, HOST_SELECT_ONLY);
        } else if (listPluginType == PluginType::Shader && record->material != nullptr &&
                   documentHasMaterial(document, record->material) &&
                   stillDescribes(*record, record->material, false)) {
            host::setActiveMaterial(document, record->material, HOST_SELECT_ONLY);
        }
    }
    host::sceneChanged(HOST_SCENE_CHANGED_REDRAW);
    return true;
}

host::String ResultTreeCallbacks::cellText(const ResultRecord& record, int32_t column) const {
    if (listsMissing) {
        // The not-found row (no instances) shows its text first.
        if (record.instances == 0) return column == COLUMN_PLUGIN_ID ? record.name : host::String();
        if (column == COLUMN_PLUGIN_ID) return record.pluginIdText;
        if (column == COLUMN_TYPE)
            return isPluginType(record.pluginType) ? listTexts[textTypes + entryId(record.pluginType)] : host::String();
        if (column == COLUMN_INSTANCES) return record.instancesText;
        if (column == COLUMN_NAME) return record.name;
        return {};
    }
    if (column == COLUMN_NAME) return record.name;
    if (listPluginType == PluginType::Tag && column == COLUMN_TAG) return record.tagName;
    if (listPluginType != PluginType::Shader) return {};
    if (column == COLUMN_CHANNEL) {
        // One unsigned test: every negative channel but -1 is "Custom" too.
        if (uint32_t(record.channel) < uint32_t(HOST_MATERIAL_CHANNEL_COUNT)) return listTexts[record.channel];
        return listTexts[record.channel == -1 ? textNone : textCustom];
    }
    if (column == COLUMN_IN_LAYER) {
        if (record.channel == -1) return listTexts[textNone];
        return listTexts[record.inLayerShader ? textYes : textNo];
    }
    return {};
}

host::String ResultTreeCallbacks::headerText(int32_t column) const {
    if (listsMissing) {
        for (size_t i = 0; i < std::size(missingHeaderTexts); ++i) {
            if (missingHeaderTexts[i].column == column) return listTexts[textMissingHeaders + int32_t(i)];
        }
        return {};
    }
    for (size_t i = 0; i < std::size(headerTexts); ++i) {
        const HeaderText& header = headerTexts[i];
        if (header.pluginType == listPluginType && header.column == column) return listTexts[textHeaders + int32_t(i)];
    }
    return {};
}
