#include "picture/dialog_svg.h"

#include <algorithm>

#include "picture/svg_document.h"
#include "ui/tree_views.h"

namespace substitute {
namespace {
// The host's look: a light window with dark text.
namespace color {
constexpr const char* window = "#ececec";
constexpr const char* titleBar = "#2f3440";
constexpr const char* titleText = "#ffffff";
constexpr const char* menuBar = "#dedede";
constexpr const char* text = "#1e1e1e";
constexpr const char* disabledText = "#a0a0a0";
constexpr const char* field = "#ffffff";
constexpr const char* disabledField = "#f2f2f2";
constexpr const char* frame = "#8c8c8c";
constexpr const char* disabledFrame = "#c8c8c8";
constexpr const char* button = "#d6d6d6";
constexpr const char* groupBorder = "#a8a8a8";
constexpr const char* listHeader = "#d8d8d8";
constexpr const char* columnLine = "#b4b4b4";
}  // namespace color

// The colours behind the host's colour identifiers that the module names.
const char* hostColor(int32_t id) {
    switch (id) {
        case HOST_COLOR_TEXT_BACKGROUND: return color::field;
        default: return color::text;  // HOST_COLOR_TEXT, and any other
    }
}

// The top of a text line centred in box.
int32_t textTop(const Box& box) { return box.y + (box.height - fontHeight) / 2; }

struct Look {
    const char* text;
    const char* frame;
    const char* field;
};

Look lookOf(const Control& control) {
    if (control.enabled) return {color::text, color::frame, color::field};
    return {color::disabledText, color::disabledFrame, color::disabledField};
}

void drawField(SvgDocument& svg, const Box& frame, const Look& look) {
    svg.rect(frame, look.field);
    svg.outline(frame, look.frame);
}

void drawGroup(SvgDocument& svg, const Control& group, const Box& frame) {
    if (!hasBorder(group)) return;
    Box border = frame;
    // A titled border runs through the middle of its title.
    if (showsTitle(group)) border.y += fontHeight / 2, border.height -= fontHeight / 2;
    svg.outline(border, color::groupBorder);
    if (!showsTitle(group)) return;
    const int32_t titleX = frame.x + 2 * metric::textPadding;
    svg.rect({titleX - metric::textPadding, frame.y, textWidth(group.text) + 2 * metric::textPadding, fontHeight},
             color::window);
    svg.text(titleX, frame.y, group.text, lookOf(group).text);
}

void drawComboBox(SvgDocument& svg, const Control& combo, const Box& frame) {
    const Look look = lookOf(combo);
    drawField(svg, frame, look);
    svg.text(frame.x + metric::textPadding, textTop(frame), shownText(combo), look.text);
    const int32_t middleX = frame.right() - metric::arrowWidth / 2, middleY = frame.y + frame.height / 2;
    svg.polygon({{middleX - 4, middleY - 2}, {middleX + 4, middleY - 2}, {middleX, middleY + 3}}, look.text);
}

void drawNumberField(SvgDocument& svg, const Control& field, const Box& frame) {
    const Look look = lookOf(field);
    drawField(svg, frame, look);
    svg.text(frame.x + metric::textPadding, textTop(frame), shownText(field), look.text);
    const int32_t middleX = frame.right() - metric::arrowWidth / 2, middleY = frame.y + frame.height / 2;
    svg.polygon({{middleX - 3, middleY - 2}, {middleX + 3, middleY - 2}, {middleX, middleY - 6}}, look.text);
    svg.polygon({{middleX - 3, middleY + 2}, {middleX + 3, middleY + 2}, {middleX, middleY + 6}}, look.text);
}

void drawCheckBox(SvgDocument& svg, const Control& box, const Box& frame) {
    const Look look = lookOf(box);
    const Box square{frame.x, frame.y + (frame.height - metric::checkSize) / 2, metric::checkSize, metric::checkSize};
    drawField(svg, square, look);
    if (box.value != 0.0) {
        svg.polyline({{square.x + 3, square.y + 6}, {square.x + 5, square.y + 9}, {square.x + 9, square.y + 3}},
                     look.text);
    }
    svg.text(square.right() + metric::checkGap, textTop(frame), box.text, look.text);
}

void drawButton(SvgDocument& svg, const Control& button, const Box& frame) {
    const Look look = lookOf(button);
    svg.rect(frame, color::button);
    svg.outline(frame, look.frame);
    svg.text(frame.x + frame.width / 2, textTop(frame), button.text, look.text, TextAnchor::Middle);
}

// What the module drew into one cell, moved to where the list lies.
void drawCell(SvgDocument& svg, const DrawnCell& cell, const Point& origin) {
    const char* pen = cell.row < 0 ? color::listHeader : color::field;  // the cell's background
    const char* ink = color::text;
    for (const DrawOperation& operation : cell.operations) {
        switch (operation.kind) {
            case DrawKind::FillRect: {
                const int32_t left = std::min(operation.x, operation.x2), top = std::min(operation.y, operation.y2);
                const int32_t width = std::max(operation.x, operation.x2) - left + 1;
                const int32_t height = std::max(operation.y, operation.y2) - top + 1;
                svg.rect({origin.x + left, origin.y + top, width, height}, pen);
                break;
            }
            case DrawKind::TextColors: ink = hostColor(operation.textColor); break;
            case DrawKind::Text: svg.text(origin.x + operation.x, origin.y + operation.y, operation.text, ink); break;
            case DrawKind::DrawSetting: break;
        }
    }
}

Box intersection(const Box& a, const Box& b) {
    const int32_t left = std::max(a.x, b.x), top = std::max(a.y, b.y);
    const int32_t right = std::min(a.right(), b.right()), bottom = std::min(a.bottom(), b.bottom());
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

// The header row and every row that fits; a row cut by the bottom edge shows
// its upper part, as in a window.
void drawList(SvgDocument& svg, const Control& control, const Box& frame) {
    const Look look = lookOf(control);
    const bool border = control.gui && boolEntry(control.gui->settings, HOST_TREE_VIEW_BORDER, false);
    svg.rect(frame, look.field);
    svg.outline(frame, border ? look.frame : look.field);
    if (!control.gui) return;
    const Box inner{frame.x + metric::listBorder, frame.y + metric::listBorder, frame.width - 2 * metric::listBorder,
                    frame.height - 2 * metric::listBorder};
    const Drawing& drawing = control.gui->drawing;
    const int32_t headerHeight = std::min(drawing.headerHeight, inner.height);
    svg.rect({inner.x, inner.y, inner.width, headerHeight}, color::listHeader);
    int32_t left = inner.x;
    for (size_t column = 0; column < drawing.columnWidths.size(); ++column) {
        const Box strip = intersection({left, inner.y, drawing.columnWidths[column], inner.height}, inner);
        left += drawing.columnWidths[column];
        if (strip.width == 0) break;
        svg.beginClip(strip);
        for (const DrawnCell& cell : drawing.cells) {
            if (cell.column != column || cell.y >= inner.height) continue;
            drawCell(svg, cell, {inner.x, inner.y});
        }
        svg.endClip();
        if (left <= inner.right()) svg.rect({left - 1, inner.y, 1, headerHeight}, color::columnLine);
    }
    // The header's lower edge, drawn over the cells as the control's own.
    if (headerHeight > 0) svg.rect({inner.x, inner.y + headerHeight - 1, inner.width, 1}, color::columnLine);
}

void drawControl(SvgDocument& svg, const Control& control, const Box& frame) {
    switch (control.kind) {
        case ControlKind::Group: drawGroup(svg, control, frame); break;
        case ControlKind::StaticText:
            if (control.borderStyle != HOST_BORDER_NONE) svg.outline(frame, lookOf(control).frame);
            svg.text(frame.x, textTop(frame), control.text, lookOf(control).text);
            break;
        case ControlKind::ComboBox: drawComboBox(svg, control, frame); break;
        case ControlKind::NumberField: drawNumberField(svg, control, frame); break;
        case ControlKind::CheckBox: drawCheckBox(svg, control, frame); break;
        case ControlKind::Button: drawButton(svg, control, frame); break;
        case ControlKind::CustomGui: drawList(svg, control, frame); break;
    }
}
}  // namespace

std::string dialogSvg(const HostDialog& dialog, const DialogLayout& layout) {
    SvgDocument svg(layout.width, layout.height, dialog.title);
    svg.rect({0, 0, layout.width, layout.height}, color::window);
    svg.rect(layout.titleBar, color::titleBar);
    svg.text(layout.titleBar.x + 2 * metric::textPadding, textTop(layout.titleBar), dialog.title, color::titleText,
             TextAnchor::Start, true);
    svg.rect(layout.menuBar, color::menuBar);
    for (size_t i = 0; i < layout.menuTitles.size(); ++i) {
        const Box& title = layout.menuTitles[i];
        svg.text(title.x + metric::menuTitlePadding, textTop(title), dialog.menu[layout.menuTitleEntries[i]].text,
                 color::text);
    }
    for (size_t i = 0; i < dialog.controls.size(); ++i) drawControl(svg, dialog.controls[i], layout.controls[i].frame);
    return svg.finish();
}

std::string snapshotDialog(HostDialog& dialog, WindowSize size) {
    for (Control& control : dialog.controls) {
        if (control.gui) drawTreeView(*control.gui);
    }
    return dialogSvg(dialog, layOutDialog(dialog, size));
}

}  // namespace substitute
