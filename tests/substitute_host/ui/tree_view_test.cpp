#include <gtest/gtest.h>

#include <cstddef>

#include "ui_clients.h"

using namespace ui_test;

namespace {

constexpr int32_t NAME = 0x6E616D65;
constexpr int32_t TAG = 0x746167;

// A flat list of rows whose cells are drawn the way the module draws them.
struct FakeTree {
    struct Row {
        std::string name;
        std::string tag;
    };
    std::vector<Row> rows;
    bool loops = false;
    HostDrawArea* keptArea = nullptr;
    int32_t clickedRow = -1;
    int32_t clickedColumn = 0;

    size_t index(void* row) const { return size_t(static_cast<Row*>(row) - rows.data()); }
    static FakeTree& of(void* self) { return *static_cast<FakeTree*>(self); }
    static std::string textOf(void* row, int32_t column) {
        if (row == nullptr) return column == NAME ? "Name" : "Tag Name";
        auto* r = static_cast<Row*>(row);
        return column == NAME ? r->name : r->tag;
    }
    static int32_t width(HostDrawArea* area, const std::string& text) {
        return tables().t_C4DOS_Cu->textWidth(area, Text(text)) + 8;
    }
    static void draw(HostDrawArea* area, const std::string& text, const HostDrawInfo* info) {
        const HostDrawTable& cu = *tables().t_C4DOS_Cu;
        cu.fillRect(area, info->x, info->y, info->x + info->width - 1, info->y + info->height - 1);
        cu.setDrawSetting(area, HOST_DRAW_SETTING_TEXT);
        cu.setTextColors(area, HOST_COLOR_TEXT, HOST_COLOR_TEXT_BACKGROUND);
        cu.drawText(area, Text(text), info->x + 4, info->y, 0);
    }

    static HostTreeViewCallbacks table() {
        HostTreeViewCallbacks t{};
        t.size = int32_t(sizeof t);
        t.firstRow = [](void* self, void*, void*) -> void* {
            auto& tree = of(self);
            return tree.rows.empty() ? nullptr : tree.rows.data();
        };
        t.nextRow = [](void* self, void*, void*, void* row) -> void* {
            auto& tree = of(self);
            size_t next = tree.index(row) + 1;
            if (next < tree.rows.size()) return &tree.rows[next];
            return tree.loops ? tree.rows.data() : nullptr;
        };
        t.cellWidth = [](void*, void*, void*, void* row, int32_t column, HostDrawArea* area) {
            return width(area, textOf(row, column));
        };
        t.headerWidth = [](void*, void*, void*, int32_t column, HostDrawArea* area) {
            return width(area, textOf(nullptr, column));
        };
        t.rowHeight = [](void*, void*, void*, void*, int32_t, HostDrawArea* area) {
            return tables().t_C4DOS_Cu->fontHeight(area);
        };
        t.drawCell = [](void* self, void*, void*, void* row, int32_t column, const HostDrawInfo* info, int32_t) {
            of(self).keptArea = info->area;
            draw(info->area, textOf(row, column), info);
        };
        t.drawHeader = [](void*, void*, void*, int32_t column, const HostDrawInfo* info) {
            draw(info->area, textOf(nullptr, column), info);
            return true;
        };
        t.isSelected = [](void* self, void*, void*, void* row) { return of(self).index(row) == 1; };
        t.rowName = [](void*, void*, void*, void* row) { return substitute::makeString(textOf(row, NAME)); };
        t.rowId = [](void* self, void*, void*, void* row) { return int64_t(of(self).index(row)) * 10; };
        t.dragType = [](void*, void*, void*, void*) { return -1; };
        t.contextMenu = [](void*, void*, void*, void*, int32_t, HostContainer* menu) {
            tables().t_C4DOS_Bc->clear(menu);
        };
        t.doubleClick = [](void* self, void*, void*, void* row, int32_t column, const HostMouseInfo*) {
            of(self).clickedRow = int32_t(of(self).index(row));
            of(self).clickedColumn = column;
            return true;
        };
        return t;
    }
};

struct TreeView : ::testing::Test {
    substitute::SubstituteHost host;
    FakeDialog fake;
    FakeTree tree{{{"Cube", "Legacy"}, {"Sphère", "Old"}}};
    HostTreeViewCallbacks callbacks = FakeTree::table();
    const HostTreeViewLibrary* library = nullptr;

    void SetUp() override {
        fake.open();
        library = static_cast<const HostTreeViewLibrary*>(tables().t_C4DOS_Lr->find(HOST_LIBRARY_TREE_VIEW));
        HostContainer* layout = tables().t_C4DOS_Bc->create(HOST_CONTAINER_PLAIN);
        tables().t_C4DOS_Bc->setInt32(layout, NAME, HOST_TREE_VIEW_COLUMN_USER);
        tables().t_C4DOS_Bc->setInt32(layout, TAG, HOST_TREE_VIEW_COLUMN_USER);
        ASSERT_TRUE(library->setLayout(fake.treeView, 2, layout));
        tables().t_C4DOS_Bc->free(layout);
        library->attach(fake.treeView, &tree.rows, &callbacks, &tree, nullptr);
    }
    HostGui& gui() { return *fake.treeView; }
};

TEST_F(TreeView, RefreshDrawsHeadersAndCellsAtPositionsFromTheTextMetric) {
    library->refresh(fake.treeView);
    const substitute::Drawing& drawing = gui().drawing;
    // Widths: the widest text of the column plus 8; "Sphère" is six code points.
    EXPECT_EQ(drawing.columnWidths, (std::vector<int32_t>{6 * 7 + 8, 8 * 7 + 8}));
    EXPECT_EQ(drawing.headerHeight, 14);
    EXPECT_EQ(drawing.rowHeights, (std::vector<int32_t>{14, 14}));
    EXPECT_EQ(substitute::headerTexts(drawing), (std::vector<std::string>{"Name", "Tag Name"}));
    EXPECT_EQ(substitute::rowTexts(drawing),
              (std::vector<std::vector<std::string>>{{"Cube", "Legacy"}, {"Sphère", "Old"}}));

    ASSERT_EQ(drawing.cells.size(), 6u);
    const substitute::DrawnCell& cell = drawing.cells[5];  // second row, tag column
    EXPECT_EQ(std::vector<int32_t>({cell.row, cell.x, cell.y, cell.width, cell.height}),
              std::vector<int32_t>({1, 50, 28, 64, 14}));
    ASSERT_EQ(cell.operations.size(), 4u);
    const auto& fill = cell.operations[0];
    EXPECT_EQ(std::vector<int32_t>({fill.x, fill.y, fill.x2, fill.y2}), std::vector<int32_t>({50, 28, 113, 41}));
    EXPECT_EQ(cell.operations[1].setting, HOST_DRAW_SETTING_TEXT);
    EXPECT_EQ(cell.operations[2].textColor, HOST_COLOR_TEXT);
    EXPECT_EQ(cell.operations[3].x, 54);
}

TEST_F(TreeView, AnEmptyListDrawsOnlyTheHeaders) {
    tree.rows.clear();
    library->refresh(fake.treeView);
    EXPECT_EQ(substitute::headerTexts(gui().drawing), (std::vector<std::string>{"Name", "Tag Name"}));
    EXPECT_TRUE(substitute::rowTexts(gui().drawing).empty());
}

TEST_F(TreeView, DetachingLeavesNothingToDraw) {
    library->attach(fake.treeView, nullptr, nullptr, nullptr, nullptr);
    library->refresh(fake.treeView);
    EXPECT_TRUE(gui().drawing.cells.empty());
    EXPECT_EQ(gui().refreshes, 1);
}

TEST_F(TreeView, AShortCallbackTableKeepsTheHostDefaultsForTheMissingEntries) {
    callbacks.size = int32_t(offsetof(HostTreeViewCallbacks, drawCell));
    library->refresh(fake.treeView);
    EXPECT_EQ(gui().drawing.rowHeights.size(), 2u);
    for (const substitute::DrawnCell& cell : gui().drawing.cells) EXPECT_TRUE(cell.operations.empty());
}

TEST_F(TreeView, RowsAnswerTheHostsQuestions) {
    std::vector<substitute::RowAnswers> rows = substitute::queryRows(gui(), NAME);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_FALSE(rows[0].selected);
    EXPECT_TRUE(rows[1].selected);
    EXPECT_EQ(rows[1].name, "Sphère");
    EXPECT_EQ(rows[1].id, 10);
    EXPECT_EQ(rows[1].dragType, -1);
    EXPECT_FALSE(rows[1].hasChildren);
    EXPECT_EQ(rows[1].height, 14);
    EXPECT_TRUE(rows[1].contextMenu.entries.empty()) << "the module emptied the host's menu";
    EXPECT_EQ(host.handles.count(substitute::HandleKind::String), 0u);
}

TEST_F(TreeView, DoubleClickReachesTheRowInListOrder) {
    bool handled = false;
    EXPECT_EQ(substitute::doubleClick(*fake.dialog, TREE, 1, TAG, &handled), "");
    EXPECT_TRUE(handled);
    EXPECT_EQ(tree.clickedRow, 1);
    EXPECT_EQ(tree.clickedColumn, TAG);
    EXPECT_EQ(substitute::doubleClick(*fake.dialog, TREE, 2, NAME), "tree view 10000 has no row 2 (2 rows)");
    EXPECT_EQ(substitute::doubleClick(*fake.dialog, TREE, 0, 0x6C73), "tree view 10000 has no column ls");
    tables().t_C4DOS_Gd->enable(fake.dialog, TREE, false);
    EXPECT_EQ(substitute::doubleClick(*fake.dialog, TREE, 0, NAME), "tree view 10000 is disabled");
}

TEST_F(TreeView, ALayoutNeedsAsManyColumnsAsItNames) {
    HostContainer* layout = tables().t_C4DOS_Bc->create(HOST_CONTAINER_PLAIN);
    tables().t_C4DOS_Bc->setInt32(layout, NAME, HOST_TREE_VIEW_COLUMN_USER);
    EXPECT_FALSE(library->setLayout(fake.treeView, 2, layout));
    EXPECT_FALSE(library->setLayout(fake.treeView, 0, layout));
    EXPECT_TRUE(library->setLayout(fake.treeView, 1, layout));
    tables().t_C4DOS_Bc->free(layout);
    EXPECT_EQ(gui().columns.size(), 1u);
}

TEST_F(TreeView, ARowLoopIsAFaultOfTheModule) {
    tree.loops = true;
    EXPECT_DEATH(library->refresh(fake.treeView), "nextRow came back to a row already listed \\(after 2 rows\\)");
}

TEST_F(TreeView, ADrawingAreaKeptAfterItsCallbackIsCaught) {
    library->refresh(fake.treeView);
    ASSERT_NE(tree.keptArea, nullptr);
    EXPECT_DEATH(tables().t_C4DOS_Cu->fillRect(tree.keptArea, 0, 0, 1, 1),
                 "Cu.fillRect: drawing area handle .* is not live");
}

TEST(TextMetric, SevenPixelsPerCodePoint) {
    EXPECT_EQ(substitute::textWidth(""), 0);
    EXPECT_EQ(substitute::textWidth("888"), 21);
    EXPECT_EQ(substitute::textWidth("é€😀"), 21);
}

}  // namespace
