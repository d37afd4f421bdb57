// The tree view control (custom GUI and library HOST_LIBRARY_TREE_VIEW) and
// the drawing of its cells. The control holds what the module attached; a
// refresh lists the rows through the module's callbacks and draws every header
// and cell into a recording canvas, with a fixed text metric, so that a reader
// sees exactly what the module drew and where.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/containers.h"

namespace substitute {

inline constexpr int32_t characterWidth = 7;  // pixels per UTF-8 code point
inline constexpr int32_t fontHeight = 14;

int32_t textWidth(std::string_view text);

enum class DrawKind : uint8_t { FillRect, DrawSetting, TextColors, Text };

// One drawing call of the module, with the arguments it gave.
struct DrawOperation {
    DrawKind kind = DrawKind::FillRect;
    int32_t x = 0, y = 0;                        // FillRect: first corner; Text: top left of the text
    int32_t x2 = 0, y2 = 0;                      // FillRect: second corner (inclusive)
    int32_t setting = 0;                         // DrawSetting
    int32_t textColor = 0, backgroundColor = 0;  // TextColors
    std::string text;                            // Text
    int32_t flags = 0;                           // Text
};

struct Column {
    int32_t id = 0;
    int32_t kind = 0;
};

// What one drawCell or drawHeader call drew, and the rectangle it was given.
struct DrawnCell {
    int32_t row = -1;  // list position; -1 for the header row
    size_t column = 0;
    int32_t x = 0, y = 0, width = 0, height = 0;
    std::vector<DrawOperation> operations;
};

struct Drawing {
    std::vector<Column> columns;
    std::vector<int32_t> columnWidths;
    int32_t headerHeight = 0;         // 0 when the header row is not shown
    std::vector<int32_t> rowHeights;  // one per row, in list order
    std::vector<DrawnCell> cells;     // header cells, then row by row
};

// The texts drawn in each header cell / each row's cells, assigned to the
// cell whose rectangle holds the text's point (several texts in one cell are
// joined in drawing order).
std::vector<std::string> headerTexts(const Drawing& drawing);
std::vector<std::vector<std::string>> rowTexts(const Drawing& drawing);

// Drawing areas handed to the module: each is live only during the callback
// it was handed to. The pool keeps their memory so that no later area of the
// same drawing gets the address of an earlier one.
class AreaPool {
public:
    HostDrawArea* open(std::vector<DrawOperation>* operations);
    static void close(HostDrawArea* area);

private:
    std::vector<std::unique_ptr<HostDrawArea>> areas_;
};

}  // namespace substitute

struct HostDrawArea {
    std::vector<substitute::DrawOperation>* operations;  // null while the module only measures
};

struct HostMouseInfo {
    int32_t x = 0, y = 0;
};

struct HostGui {
    int32_t controlId = 0;
    HostContainer settings;  // a copy of what the module gave when adding the control
    void* root = nullptr;
    const HostTreeViewCallbacks* callbacks = nullptr;
    void* self = nullptr;
    void* user = nullptr;
    std::vector<substitute::Column> columns;
    int32_t refreshes = 0;
    int32_t layoutChanges = 0;
    substitute::Drawing drawing;  // the last drawing
    substitute::AreaPool areas;   // of the last drawing
};

namespace substitute {

// A new live tree view control.
HostGui* makeTreeView(int32_t controlId, const HostContainer* settings);
// Ends the control's handle (the object itself belongs to its dialog).
void retireTreeView(HostGui* gui);
HostGui& treeViewOf(const HostGui* gui, const char* operation);

// The rows in list order (firstRow, then nextRow until null); a row that
// comes back is a fault of the module.
std::vector<void*> listRows(HostGui& gui);
// Lists the rows and draws every header and cell; the drawing is kept.
const Drawing& drawTreeView(HostGui& gui);

// The module's answers about each row, as a host asks them.
struct RowAnswers {
    bool selected = false;
    bool opened = false;
    std::string name;
    int64_t id = 0;
    int32_t dragType = 0;
    bool hasChildren = false;
    int32_t height = 0;
    HostContainer contextMenu;  // the row's menu after the module saw it
};
std::vector<RowAnswers> queryRows(HostGui& gui, int32_t column);

// Calls the module's doubleClick for row and column; its answer.
bool doubleClickRow(HostGui& gui, void* row, int32_t column);

void fillTreeViewLibrary(HostTreeViewLibrary& library);
void fillDrawTable(HostDrawTable& table);

}  // namespace substitute
