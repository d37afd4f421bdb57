#include "picture/dialog_layout.h"

#include <algorithm>
#include <charconv>

#include "ui/tree_views.h"

namespace substitute {
namespace {
// How a group's members fill its grid: row by row when it gives columns,
// column by column when it gives only rows, else one column.
struct GridShape {
    int32_t columns = 1, rows = 0;
    bool byRows = true;
};

GridShape shapeOf(const Control* group, size_t members) {
    const auto count = int32_t(std::min<size_t>(members, INT32_MAX));
    GridShape shape;
    if (group != nullptr && group->columns <= 0 && group->rows > 0) {
        shape.byRows = false;
        shape.rows = group->rows;
        shape.columns = std::max(1, (count + shape.rows - 1) / shape.rows);
        return shape;
    }
    shape.columns = group != nullptr && group->columns > 0 ? group->columns : 1;
    shape.rows = (count + shape.columns - 1) / shape.columns;
    return shape;
}

void cellOf(const GridShape& shape, size_t member, int32_t& column, int32_t& row) {
    const auto index = int32_t(member);
    column = shape.byRows ? index % shape.columns : index / shape.rows;
    row = shape.byRows ? index / shape.columns : index % shape.rows;
}

int32_t sumWithSpacing(const std::vector<int32_t>& sizes) {
    int32_t total = 0;
    for (int32_t size : sizes) total += size;
    return sizes.empty() ? 0 : total + metric::cellSpacing * int32_t(sizes.size() - 1);
}

// Shares spare pixels among the chosen lines: equal parts, the first lines
// taking one more until none is left, so that every target lays out alike.
void shareSpare(std::vector<int32_t>& sizes, const std::vector<bool>& takesSpare, int32_t spare) {
    const auto takers = int32_t(std::count(takesSpare.begin(), takesSpare.end(), true));
    if (spare <= 0 || takers == 0) return;
    int32_t extra = spare % takers;
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (!takesSpare[i]) continue;
        sizes[i] += spare / takers + (extra > 0 ? 1 : 0);
        extra -= extra > 0 ? 1 : 0;
    }
}

// A control's frame in its cell, by its layout flags.
Box alignIn(const Box& cell, int32_t flags, int32_t width, int32_t height) {
    Box frame = cell;
    width = std::min(width, cell.width);
    height = std::min(height, cell.height);
    switch (flags & HOST_LAYOUT_HORIZONTAL) {
        case HOST_LAYOUT_LEFT: frame.width = width; break;
        case HOST_LAYOUT_RIGHT: frame.x = cell.right() - width, frame.width = width; break;
        case HOST_LAYOUT_FIT_WIDTH: break;
        default: frame.x = cell.x + (cell.width - width) / 2, frame.width = width; break;
    }
    switch (flags & HOST_LAYOUT_VERTICAL) {
        case HOST_LAYOUT_TOP: frame.height = height; break;
        case HOST_LAYOUT_BOTTOM: frame.y = cell.bottom() - height, frame.height = height; break;
        case HOST_LAYOUT_FIT_HEIGHT: break;
        default: frame.y = cell.y + (cell.height - height) / 2, frame.height = height; break;
    }
    return frame;
}

int32_t widestEntry(const Control& combo) {
    int32_t widest = 0;
    for (const ComboEntry& entry : combo.entries) widest = std::max(widest, textWidth(entry.text));
    return widest;
}

class Layout {
public:
    explicit Layout(const HostDialog& dialog) : dialog_(dialog), members_(dialog.controls.size()) {
        placed_.resize(dialog.controls.size());
        collectMembers();
        minimumWidth_.assign(dialog.controls.size(), 0);
        minimumHeight_.assign(dialog.controls.size(), 0);
        // Members come after their group, so measuring backwards finds them measured.
        for (size_t i = dialog.controls.size(); i-- > 0;) measure(i);
    }

    int32_t contentsWidth() const { return gridWidth(nullptr, topLevel_) + 2 * metric::windowMargin; }
    int32_t contentsHeight() const { return gridHeight(nullptr, topLevel_) + 2 * metric::windowMargin; }

    std::vector<PlacedControl> place(const Box& client) {
        Box inner{client.x + metric::windowMargin, client.y + metric::windowMargin,
                  client.width - 2 * metric::windowMargin, client.height - 2 * metric::windowMargin};
        placeGrid(noGroup, topLevel_, inner);
        return std::move(placed_);
    }

private:
    void collectMembers() {
        std::vector<size_t> open;  // the groups around the current control, outermost first
        for (size_t i = 0; i < dialog_.controls.size(); ++i) {
            const Control& control = dialog_.controls[i];
            open.resize(std::min(open.size(), control.depth));
            const size_t group = open.empty() ? noGroup : open.back();
            placed_[i].group = group;
            (group == noGroup ? topLevel_ : members_[group]).push_back(i);
            if (control.kind == ControlKind::Group) open.push_back(i);
        }
    }

    const Control* groupAt(size_t index) const { return index == noGroup ? nullptr : &dialog_.controls[index]; }

    // The size of each column (or row) of the group's grid: the largest minimum of the members in it.
    std::vector<int32_t> trackSizes(const Control* group, const std::vector<size_t>& members, bool columns) const {
        const GridShape shape = shapeOf(group, members.size());
        const std::vector<int32_t>& minimum = columns ? minimumWidth_ : minimumHeight_;
        std::vector<int32_t> sizes(size_t(columns ? shape.columns : shape.rows), 0);
        for (size_t m = 0; m < members.size(); ++m) {
            int32_t column = 0, row = 0;
            cellOf(shape, m, column, row);
            int32_t& size = sizes[size_t(columns ? column : row)];
            size = std::max(size, minimum[members[m]]);
        }
        return sizes;
    }

    std::vector<int32_t> columnWidths(const Control* group, const std::vector<size_t>& members) const {
        if (members.empty()) return {};
        return trackSizes(group, members, true);
    }

    std::vector<int32_t> rowHeights(const Control* group, const std::vector<size_t>& members) const {
        return trackSizes(group, members, false);
    }

    int32_t gridWidth(const Control* group, const std::vector<size_t>& members) const {
        return sumWithSpacing(columnWidths(group, members));
    }
    int32_t gridHeight(const Control* group, const std::vector<size_t>& members) const {
        return sumWithSpacing(rowHeights(group, members));
    }

    void measure(size_t index) {
        const Control& control = dialog_.controls[index];
        minimumWidth_[index] = naturalWidth(control);
        minimumHeight_[index] = naturalHeight(control);
        if (control.kind != ControlKind::Group) return;
        // The border's insets are what a frame of size 0 leaves inside it, negated.
        const Box inside = insideBorder(control, {});
        const int32_t insetsWidth = -inside.width, insetsHeight = -inside.height;
        int32_t width = gridWidth(&control, members_[index]) + insetsWidth;
        if (showsTitle(control)) width = std::max(width, textWidth(control.text) + 4 * metric::textPadding);
        minimumWidth_[index] = std::max(minimumWidth_[index], width);
        minimumHeight_[index] = std::max(minimumHeight_[index], gridHeight(&control, members_[index]) + insetsHeight);
    }

    void placeGrid(size_t groupIndex, const std::vector<size_t>& members, const Box& inner) {
        const Control* group = groupAt(groupIndex);
        const GridShape shape = shapeOf(group, members.size());
        std::vector<int32_t> widths = columnWidths(group, members);
        std::vector<int32_t> heights = rowHeights(group, members);
        std::vector<bool> widening(widths.size(), false), heightening(heights.size(), false);
        for (size_t m = 0; m < members.size(); ++m) {
            int32_t column = 0, row = 0;
            cellOf(shape, m, column, row);
            const int32_t flags = dialog_.controls[members[m]].flags;
            if (flags & HOST_LAYOUT_SCALE_WIDTH) widening[size_t(column)] = true;
            if (flags & HOST_LAYOUT_SCALE_HEIGHT) heightening[size_t(row)] = true;
        }
        shareSpare(widths, widening, inner.width - sumWithSpacing(widths));
        shareSpare(heights, heightening, inner.height - sumWithSpacing(heights));

        for (size_t m = 0; m < members.size(); ++m) {
            int32_t column = 0, row = 0;
            cellOf(shape, m, column, row);
            Box cell{inner.x, inner.y, widths[size_t(column)], heights[size_t(row)]};
            for (int32_t c = 0; c < column; ++c) cell.x += widths[size_t(c)] + metric::cellSpacing;
            for (int32_t r = 0; r < row; ++r) cell.y += heights[size_t(r)] + metric::cellSpacing;
            const size_t index = members[m];
            const Control& control = dialog_.controls[index];
            PlacedControl& placed = placed_[index];
            placed.cell = cell;
            placed.column = column, placed.row = row;
            placed.frame = alignIn(cell, control.flags, minimumWidth_[index], minimumHeight_[index]);
            placed.inner = placed.frame;
            if (control.kind != ControlKind::Group) continue;
            placed.inner = insideBorder(control, placed.frame);
            placeGrid(index, members_[index], placed.inner);
        }
    }

    const HostDialog& dialog_;
    std::vector<std::vector<size_t>> members_;  // per group, in creation order
    std::vector<size_t> topLevel_;
    std::vector<int32_t> minimumWidth_, minimumHeight_;
    std::vector<PlacedControl> placed_;
};
}  // namespace

bool hasBorder(const Control& group) { return (group.borderStyle & ~HOST_BORDER_TITLED) != HOST_BORDER_NONE; }

bool showsTitle(const Control& group) {
    return hasBorder(group) && (group.borderStyle & HOST_BORDER_TITLED) != 0 && !group.text.empty();
}

int32_t requestedPixels(int32_t size) { return size <= 0 ? 0 : size & HOST_SIZE_MASK; }

std::string shownText(const Control& control) {
    switch (control.kind) {
        case ControlKind::ComboBox:
            for (const ComboEntry& entry : control.entries) {
                if (entry.id == control.value) return entry.text;
            }
            return {};
        case ControlKind::NumberField: {
            char buffer[32];
            auto result = std::to_chars(buffer, buffer + sizeof buffer, control.value);
            return std::string(buffer, result.ptr);
        }
        default: return control.text;
    }
}

int32_t naturalWidth(const Control& control) {
    int32_t width = 0;
    switch (control.kind) {
        case ControlKind::StaticText: width = textWidth(control.text); break;
        case ControlKind::ComboBox: width = widestEntry(control) + 2 * metric::textPadding + metric::arrowWidth; break;
        case ControlKind::NumberField:
            width = textWidth(shownText(control)) + 2 * metric::textPadding + metric::arrowWidth;
            break;
        case ControlKind::CheckBox: width = metric::checkSize + metric::checkGap + textWidth(control.text); break;
        case ControlKind::Button: width = textWidth(control.text) + 2 * metric::buttonPadding; break;
        case ControlKind::CustomGui: width = 2 * metric::listBorder; break;
        case ControlKind::Group: break;
    }
    return std::max(width, requestedPixels(control.width));
}

int32_t naturalHeight(const Control& control) {
    int32_t height = metric::controlHeight;
    if (control.kind == ControlKind::Group) height = 0;
    if (control.kind == ControlKind::CustomGui) height = 2 * metric::listBorder + fontHeight;
    return std::max(height, requestedPixels(control.height));
}

Box insideBorder(const Control& group, Box frame) {
    int32_t left = group.borderSpace[0], top = group.borderSpace[1];
    int32_t right = group.borderSpace[2], bottom = group.borderSpace[3];
    if (hasBorder(group)) {
        left += metric::borderInset, right += metric::borderInset, bottom += metric::borderInset;
        top += showsTitle(group) ? fontHeight + metric::borderInset : metric::borderInset;
    }
    return {frame.x + left, frame.y + top, frame.width - left - right, frame.height - top - bottom};
}

DialogLayout layOutDialog(const HostDialog& dialog, WindowSize requested) {
    DialogLayout layout;
    int32_t menuWidth = 0;
    for (size_t i = 0; i < dialog.menu.size(); ++i) {
        if (dialog.menu[i].depth != 0) continue;
        const int32_t width = textWidth(dialog.menu[i].text) + 2 * metric::menuTitlePadding;
        layout.menuTitles.push_back({menuWidth, metric::titleBarHeight, width, metric::menuBarHeight});
        layout.menuTitleEntries.push_back(i);
        menuWidth += width;
    }
    const int32_t menuHeight = dialog.menu.empty() ? 0 : metric::menuBarHeight;
    Layout grid(dialog);
    layout.width = std::max({requested.width, grid.contentsWidth(), menuWidth});
    layout.height = std::max(requested.height, metric::titleBarHeight + menuHeight + grid.contentsHeight());
    layout.titleBar = {0, 0, layout.width, metric::titleBarHeight};
    layout.menuBar = {0, metric::titleBarHeight, menuHeight > 0 ? layout.width : 0, menuHeight};
    const int32_t clientTop = metric::titleBarHeight + menuHeight;
    layout.client = {0, clientTop, layout.width, layout.height - clientTop};
    layout.controls = grid.place(layout.client);
    return layout;
}

}  // namespace substitute
