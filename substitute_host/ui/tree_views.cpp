#include "ui/tree_views.h"

#include <algorithm>
#include <unordered_set>

#include "core/fault.h"
#include "core/substitute_host.h"
#include "kernel/host_strings.h"

namespace substitute {
namespace {
HandleRegistry& handles() { return SubstituteHost::current().handles; }

// The module's entry, or null when its table is too short to hold it or
// leaves it empty: the host then keeps its default.
template <class Entry>
Entry callback(const HostGui& gui, Entry HostTreeViewCallbacks::*member) {
    const HostTreeViewCallbacks* table = gui.callbacks;
    if (table == nullptr) return nullptr;
    auto offset = size_t(reinterpret_cast<const char*>(&(table->*member)) - reinterpret_cast<const char*>(table));
    if (table->size < 0 || offset + sizeof(Entry) > size_t(table->size)) return nullptr;
    return table->*member;
}

// A drawing area live for the duration of one callback.
class LiveArea {
public:
    LiveArea(AreaPool& pool, std::vector<DrawOperation>* operations) : area_(pool.open(operations)) {}
    ~LiveArea() { AreaPool::close(area_); }
    LiveArea(const LiveArea&) = delete;
    LiveArea& operator=(const LiveArea&) = delete;
    HostDrawArea* get() const { return area_; }

private:
    HostDrawArea* area_;
};

int32_t clampToInt32(int64_t value) { return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

int32_t cellWidth(HostGui& gui, AreaPool& pool, void* row, const Column& column) {
    auto entry = callback(gui, &HostTreeViewCallbacks::cellWidth);
    LiveArea area(pool, nullptr);
    return entry ? entry(gui.self, gui.root, gui.user, row, column.id, area.get()) : 0;
}

int32_t headerWidth(HostGui& gui, AreaPool& pool, const Column& column) {
    auto entry = callback(gui, &HostTreeViewCallbacks::headerWidth);
    LiveArea area(pool, nullptr);
    return entry ? entry(gui.self, gui.root, gui.user, column.id, area.get()) : 0;
}

// The row's height as the module answers it; the font height when it gives none.
int32_t rowHeight(HostGui& gui, AreaPool& pool, void* row, const Column& column) {
    auto entry = callback(gui, &HostTreeViewCallbacks::rowHeight);
    LiveArea area(pool, nullptr);
    int32_t height = entry ? entry(gui.self, gui.root, gui.user, row, column.id, area.get()) : 0;
    return height > 0 ? height : fontHeight;
}

// The bottom edge (exclusive) of each row.
std::vector<int64_t> bottomsOfRows(const Drawing& drawing) {
    std::vector<int64_t> bottoms;
    int64_t top = drawing.headerHeight;
    for (int32_t height : drawing.rowHeights) bottoms.push_back(top += height);
    return bottoms;
}

// Where a point lies: the cell's row (-1 header) and column, false when outside every cell.
bool locate(const Drawing& drawing, const std::vector<int64_t>& rowBottoms, int32_t x, int32_t y, int32_t& row,
            size_t& column) {
    int64_t left = 0;
    for (column = 0; column < drawing.columnWidths.size(); ++column) {
        if (x >= left && x < left + drawing.columnWidths[column]) break;
        left += drawing.columnWidths[column];
    }
    if (column == drawing.columnWidths.size() || y < 0) return false;
    if (y < drawing.headerHeight) {
        row = -1;
        return true;
    }
    // Bisection keeps reading a long list linear in its rows.
    auto below = std::upper_bound(rowBottoms.begin(), rowBottoms.end(), int64_t(y));
    if (below == rowBottoms.end()) return false;
    row = int32_t(below - rowBottoms.begin());
    return true;
}

// Calls visit(row, column, text) for every text drawn inside a cell.
template <class Visit>
void forEachPlacedText(const Drawing& drawing, Visit visit) {
    const std::vector<int64_t> rowBottoms = bottomsOfRows(drawing);
    for (const DrawnCell& cell : drawing.cells) {
        for (const DrawOperation& operation : cell.operations) {
            int32_t row = 0;
            size_t column = 0;
            if (operation.kind != DrawKind::Text) continue;
            if (locate(drawing, rowBottoms, operation.x, operation.y, row, column)) visit(row, column, operation.text);
        }
    }
}

void record(HostDrawArea* area, const char* operation, DrawOperation drawn) {
    handles().check(operation, area, HandleKind::DrawArea);
    // Drawing into an area handed out for measuring leaves no trace.
    if (area->operations != nullptr) area->operations->push_back(std::move(drawn));
}
}  // namespace

int32_t textWidth(std::string_view text) {
    int32_t codePoints = 0;
    for (char byte : text) codePoints += (uint8_t(byte) & 0xC0) != 0x80;
    return codePoints * characterWidth;
}

std::vector<std::string> headerTexts(const Drawing& drawing) {
    std::vector<std::string> texts(drawing.columns.size());
    forEachPlacedText(drawing, [&](int32_t row, size_t column, const std::string& text) {
        if (row == -1) texts[column] += text;
    });
    return texts;
}

std::vector<std::vector<std::string>> rowTexts(const Drawing& drawing) {
    std::vector<std::vector<std::string>> texts(drawing.rowHeights.size(),
                                                std::vector<std::string>(drawing.columns.size()));
    forEachPlacedText(drawing, [&](int32_t row, size_t column, const std::string& text) {
        if (row >= 0) texts[size_t(row)][column] += text;
    });
    return texts;
}

HostDrawArea* AreaPool::open(std::vector<DrawOperation>* operations) {
    areas_.push_back(std::make_unique<HostDrawArea>(HostDrawArea{operations}));
    handles().add(areas_.back().get(), HandleKind::DrawArea);
    return areas_.back().get();
}

void AreaPool::close(HostDrawArea* area) { handles().remove(area); }

HostGui* makeTreeView(int32_t controlId, const HostContainer* settings) {
    auto* gui = new HostGui;
    gui->controlId = controlId;
    if (settings != nullptr) gui->settings = containerOf(settings, "Gd.addCustomGui");
    handles().add(gui, HandleKind::Gui);
    return gui;
}

void retireTreeView(HostGui* gui) { handles().remove(gui); }

HostGui& treeViewOf(const HostGui* gui, const char* operation) {
    handles().check(operation, gui, HandleKind::Gui);
    return *const_cast<HostGui*>(gui);
}

std::vector<void*> listRows(HostGui& gui) {
    std::vector<void*> rows;
    auto first = callback(gui, &HostTreeViewCallbacks::firstRow);
    auto next = callback(gui, &HostTreeViewCallbacks::nextRow);
    std::unordered_set<void*> seen;
    for (void* row = first ? first(gui.self, gui.root, gui.user) : nullptr; row != nullptr;
         row = next ? next(gui.self, gui.root, gui.user, row) : nullptr) {
        if (!seen.insert(row).second) {
            fault("tree view rows", "nextRow came back to a row already listed (after " + std::to_string(rows.size()) +
                                        " rows): the list would never end");
        }
        rows.push_back(row);
    }
    return rows;
}

const Drawing& drawTreeView(HostGui& gui) {
    Drawing drawing;
    AreaPool pool;
    drawing.columns = gui.columns;
    std::vector<void*> rows = listRows(gui);
    const bool header = boolEntry(gui.settings, HOST_TREE_VIEW_HEADER_ROW, false) && gui.callbacks != nullptr;
    drawing.headerHeight = header ? fontHeight : 0;

    for (const Column& column : drawing.columns) {
        int32_t width = headerWidth(gui, pool, column);
        for (void* row : rows) width = std::max(width, cellWidth(gui, pool, row, column));
        drawing.columnWidths.push_back(std::max(width, 0));
    }
    for (void* row : rows) {
        int32_t height = drawing.columns.empty() ? fontHeight : 0;
        for (const Column& column : drawing.columns) height = std::max(height, rowHeight(gui, pool, row, column));
        drawing.rowHeights.push_back(height);
    }

    // Cells are placed first so that the areas can point at their operation lists.
    int64_t top = 0;
    for (int32_t row = header ? -1 : 0; row < int32_t(rows.size()); ++row) {
        int32_t height = row < 0 ? drawing.headerHeight : drawing.rowHeights[size_t(row)];
        int64_t left = 0;
        for (size_t column = 0; column < drawing.columns.size(); ++column) {
            int32_t width = drawing.columnWidths[column];
            drawing.cells.push_back({row, column, clampToInt32(left), clampToInt32(top), width, height, {}});
            left += width;
        }
        top += height;
    }

    auto drawHeader = callback(gui, &HostTreeViewCallbacks::drawHeader);
    auto drawCell = callback(gui, &HostTreeViewCallbacks::drawCell);
    for (DrawnCell& cell : drawing.cells) {
        LiveArea area(pool, &cell.operations);
        const HostDrawInfo info{area.get(), cell.x, cell.y, cell.width, cell.height};
        int32_t columnId = drawing.columns[cell.column].id;
        if (cell.row < 0 && drawHeader) drawHeader(gui.self, gui.root, gui.user, columnId, &info);
        if (cell.row >= 0 && drawCell) {
            drawCell(gui.self, gui.root, gui.user, rows[size_t(cell.row)], columnId, &info, HOST_COLOR_TEXT_BACKGROUND);
        }
    }
    gui.drawing = std::move(drawing);
    gui.areas = std::move(pool);
    return gui.drawing;
}

std::vector<RowAnswers> queryRows(HostGui& gui, int32_t column) {
    AreaPool pool;
    std::vector<RowAnswers> answers;
    for (void* row : listRows(gui)) {
        RowAnswers answer;
        if (auto entry = callback(gui, &HostTreeViewCallbacks::isSelected)) {
            answer.selected = entry(gui.self, gui.root, gui.user, row);
        }
        if (auto entry = callback(gui, &HostTreeViewCallbacks::isOpened)) {
            answer.opened = entry(gui.self, gui.root, gui.user, row);
        }
        if (auto entry = callback(gui, &HostTreeViewCallbacks::rowName)) {
            HostString* name = entry(gui.self, gui.root, gui.user, row);
            answer.name = text(name, "tree view rowName");
            releaseString(name);
        }
        if (auto entry = callback(gui, &HostTreeViewCallbacks::rowId)) {
            answer.id = entry(gui.self, gui.root, gui.user, row);
        }
        if (auto entry = callback(gui, &HostTreeViewCallbacks::dragType)) {
            answer.dragType = entry(gui.self, gui.root, gui.user, row);
        }
        if (auto entry = callback(gui, &HostTreeViewCallbacks::firstChild)) {
            answer.hasChildren = entry(gui.self, gui.root, gui.user, row) != nullptr;
        }
        answer.height = rowHeight(gui, pool, row, {column, 0});
        OwnedContainer menu = ownContainer(HOST_CONTAINER_PLAIN);
        setEntry(*menu, HOST_TREE_VIEW_MENU_HOST_ENTRY, 1, false);
        if (auto entry = callback(gui, &HostTreeViewCallbacks::contextMenu)) {
            entry(gui.self, gui.root, gui.user, row, column, menu.get());
        }
        answer.contextMenu = *menu;
        answers.push_back(std::move(answer));
    }
    return answers;
}

bool doubleClickRow(HostGui& gui, void* row, int32_t column) {
    auto entry = callback(gui, &HostTreeViewCallbacks::doubleClick);
    if (!entry) return false;
    auto mouse = std::make_unique<HostMouseInfo>();
    handles().add(mouse.get(), HandleKind::MouseInfo);
    bool answer = entry(gui.self, gui.root, gui.user, row, column, mouse.get());
    handles().remove(mouse.get());
    return answer;
}

void fillTreeViewLibrary(HostTreeViewLibrary& library) {
    library.attach = [](HostGui* treeView, void* root, const HostTreeViewCallbacks* callbacks, void* self, void* user) {
        HostGui& gui = treeViewOf(treeView, "TreeView.attach");
        if (root == nullptr || callbacks == nullptr) {
            gui.root = gui.self = gui.user = nullptr;
            gui.callbacks = nullptr;
            return;
        }
        gui.root = root;
        gui.callbacks = callbacks;
        gui.self = self;
        gui.user = user;
    };
    library.setLayout = [](HostGui* treeView, int32_t columnCount, const HostContainer* layout) {
        HostGui& gui = treeViewOf(treeView, "TreeView.setLayout");
        const HostContainer& columns = containerOf(layout, "TreeView.setLayout");
        if (columnCount < 1 || size_t(columnCount) > columns.entries.size()) return false;
        gui.columns.clear();
        for (size_t i = 0; i < size_t(columnCount); ++i) {
            gui.columns.push_back({columns.entries[i].key, columns.entries[i].value});
        }
        return true;
    };
    library.refresh = [](HostGui* treeView) {
        HostGui& gui = treeViewOf(treeView, "TreeView.refresh");
        ++gui.refreshes;
        drawTreeView(gui);
    };
    library.layoutChanged = [](HostGui* treeView) { ++treeViewOf(treeView, "TreeView.layoutChanged").layoutChanges; };
}

void fillDrawTable(HostDrawTable& table) {
    table.textWidth = [](HostDrawArea* area, const HostString* string) {
        handles().check("Cu.textWidth", area, HandleKind::DrawArea);
        return textWidth(text(string, "Cu.textWidth"));
    };
    table.fontHeight = [](HostDrawArea* area) {
        handles().check("Cu.fontHeight", area, HandleKind::DrawArea);
        return fontHeight;
    };
    table.fillRect = [](HostDrawArea* area, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        DrawOperation operation;
        operation.kind = DrawKind::FillRect;
        operation.x = x1, operation.y = y1, operation.x2 = x2, operation.y2 = y2;
        record(area, "Cu.fillRect", std::move(operation));
    };
    table.setDrawSetting = [](HostDrawArea* area, int32_t value) {
        DrawOperation operation;
        operation.kind = DrawKind::DrawSetting;
        operation.setting = value;
        record(area, "Cu.setDrawSetting", std::move(operation));
    };
    table.setTextColors = [](HostDrawArea* area, int32_t textColor, int32_t background) {
        DrawOperation operation;
        operation.kind = DrawKind::TextColors;
        operation.textColor = textColor, operation.backgroundColor = background;
        record(area, "Cu.setTextColors", std::move(operation));
    };
    table.drawText = [](HostDrawArea* area, const HostString* string, int32_t x, int32_t y, int32_t flags) {
        DrawOperation operation;
        operation.kind = DrawKind::Text;
        operation.text = text(string, "Cu.drawText");
        operation.x = x, operation.y = y, operation.flags = flags;
        record(area, "Cu.drawText", std::move(operation));
    };
}

}  // namespace substitute
