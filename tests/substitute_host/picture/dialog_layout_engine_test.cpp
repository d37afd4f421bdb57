// The layout engine on windows no module builds: alignment in a cell, groups
// filled column by column, nested groups and the share of spare room.
#include <gtest/gtest.h>

#include "picture/dialog_layout.h"

namespace {
using substitute::Box;
using substitute::Control;
using substitute::ControlKind;

Control make(ControlKind kind, int32_t flags, size_t depth, std::string text = {}, int32_t width = 0) {
    Control control;
    control.kind = kind;
    control.flags = flags;
    control.depth = depth;
    control.text = std::move(text);
    control.width = width;
    return control;
}

constexpr int32_t leftTop = HOST_LAYOUT_LEFT | HOST_LAYOUT_TOP;

Control group(int32_t flags, size_t depth, int32_t columns, int32_t rows = 0) {
    Control made = make(ControlKind::Group, flags, depth);
    made.columns = columns;
    made.rows = rows;
    return made;
}

TEST(DialogLayoutEngine, AlignsInTheCellAndSharesSpareRoom) {
    HostDialog window;
    window.controls.push_back(group(HOST_LAYOUT_FILL_WIDTH | HOST_LAYOUT_FILL_HEIGHT, 0, 1));
    // 3 rows in one column; the widest (100 px) sets the column's width.
    window.controls.push_back(make(ControlKind::StaticText, HOST_LAYOUT_RIGHT, 1, "right"));  // right, centred
    window.controls.push_back(make(ControlKind::StaticText, HOST_LAYOUT_CENTER, 1, "centre", 100));
    window.controls.push_back(make(ControlKind::Button, HOST_LAYOUT_FILL_WIDTH | HOST_LAYOUT_FILL_HEIGHT, 1, "fill"));
    const substitute::DialogLayout layout = substitute::layOutDialog(window, {300, 200});
    ASSERT_EQ(layout.controls.size(), 4u);
    EXPECT_EQ(layout.width, 300);
    EXPECT_TRUE(layout.menuTitles.empty());
    EXPECT_EQ(layout.menuBar.height, 0);

    const Box inner = layout.controls[0].inner;
    EXPECT_EQ(inner, (Box{4, 28, 292, 168}));  // the window's margin inside the title bar
    const Box right = layout.controls[1].frame;
    EXPECT_EQ(right.right(), inner.right());
    EXPECT_EQ(right.width, substitute::textWidth("right"));
    const Box centre = layout.controls[2].frame;
    EXPECT_EQ(centre.width, 100);
    EXPECT_EQ(centre.x - inner.x, inner.right() - centre.right());
    // The filling button's row takes all spare height; its column all spare width.
    const Box fill = layout.controls[3].frame;
    EXPECT_EQ(fill.right(), inner.right());
    EXPECT_EQ(fill.bottom(), inner.bottom());
    EXPECT_EQ(fill.y, centre.bottom() + substitute::metric::cellSpacing);
}

TEST(DialogLayoutEngine, GroupWithRowsFillsColumnByColumn) {
    HostDialog window;
    window.controls.push_back(group(leftTop, 0, 0, 2));
    for (const char* text : {"a", "b", "c"}) window.controls.push_back(make(ControlKind::CheckBox, leftTop, 1, text));
    window.controls.push_back(group(leftTop, 1, 1));  // nested, in the second column
    window.controls.push_back(make(ControlKind::Button, leftTop, 2, "inner"));
    const substitute::DialogLayout layout = substitute::layOutDialog(window);
    EXPECT_EQ(layout.controls[1].column, 0);
    EXPECT_EQ(layout.controls[2].column, 0);
    EXPECT_EQ(layout.controls[2].row, 1);
    EXPECT_EQ(layout.controls[3].column, 1);
    EXPECT_EQ(layout.controls[3].row, 0);
    EXPECT_EQ(layout.controls[4].column, 1);
    EXPECT_EQ(layout.controls[4].row, 1);
    EXPECT_EQ(layout.controls[5].group, 4u);
    EXPECT_EQ(layout.controls[5].frame, layout.controls[4].inner);
    // A left-aligned outer group keeps its own width however wide the window.
    EXPECT_LT(layout.controls[0].frame.width, 200);
}

TEST(DialogLayoutEngine, RequestedSizesReadThePixelForm) {
    EXPECT_EQ(substitute::requestedPixels(HOST_SIZE_PIXELS | 100), 100);
    EXPECT_EQ(substitute::requestedPixels(500), 500);
    EXPECT_EQ(substitute::requestedPixels(0), 0);
    EXPECT_EQ(substitute::requestedPixels(-5), 0);
}

}  // namespace
