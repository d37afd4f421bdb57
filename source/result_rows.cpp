// The tree view's row source: the records of the store as rows in row order,
// their sizes, and the drawing of their cells and headers.
#include "result_rows.h"

#include <cstdint>

namespace {
// Widths fit thirty eights in the wide columns and fifteen in the others.
constexpr const char* nameColumnSample = "888888888888888888888888888888";
constexpr const char* otherColumnSample = "888888888888888";
constexpr int32_t columnPadding = 8;
constexpr int32_t textIndent = 4;
}  // namespace

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

namespace {
// The names, a folder's paths, and its Plugin ID column, which says what
// became of a whole file ("Could not open this file.").
bool isWide(int32_t column, bool listsFolder) {
    return column == COLUMN_NAME || column == COLUMN_SCENE_FILE || column == COLUMN_CLEANED_COPY ||
           (listsFolder && column == COLUMN_PLUGIN_ID);
}

int32_t columnWidth(host::DrawArea* area, int32_t column, bool listsFolder) {
    if (area == nullptr) return 0;
    return host::textWidth(area, isWide(column, listsFolder) ? nameColumnSample : otherColumnSample) + columnPadding;
}

void fillCell(const host::DrawInfo& info) {
    host::fillRect(info.area, info.x, info.y, info.x + info.width - 1, info.y + info.height - 1);
    host::setDrawSetting(info.area, HOST_DRAW_SETTING_TEXT);
}

void writeCell(const host::DrawInfo& info, const host::String& text) {
    host::setTextColors(info.area, HOST_COLOR_TEXT, HOST_COLOR_TEXT_BACKGROUND);
    host::drawText(info.area, text, info.x + textIndent, info.y, HOST_DRAW_TEXT_PLAIN);
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
    return columnWidth(area, column, listsFolder);
}

int32_t ResultTreeCallbacks::headerWidth(void*, void*, int32_t column, host::DrawArea* area) {
    return columnWidth(area, column, listsFolder);
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
