// Where the window puts each control: a grid layout of the groups the module
// built, with the text metric of the tree view (7 pixels a character, font
// height 14), so that a picture of the window can be drawn and its geometry
// checked. Every size is a whole number of pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace substitute {

struct Box {
    int32_t x = 0, y = 0, width = 0, height = 0;
    int32_t right() const { return x + width; }    // exclusive
    int32_t bottom() const { return y + height; }  // exclusive
    bool operator==(const Box&) const = default;
};

// The window the host opens unless asked for another size. A window never
// gets smaller than its contents need.
inline constexpr int32_t defaultWindowWidth = 520;
inline constexpr int32_t defaultWindowHeight = 640;

struct WindowSize {
    int32_t width = defaultWindowWidth;
    int32_t height = defaultWindowHeight;
};

// The host's metrics of the window and its controls.
namespace metric {
inline constexpr int32_t titleBarHeight = 24;
inline constexpr int32_t menuBarHeight = 20;
inline constexpr int32_t menuTitlePadding = 8;  // each side of a menu title
inline constexpr int32_t windowMargin = 4;      // around the window's contents
inline constexpr int32_t cellSpacing = 4;       // between the cells of a group, both ways
inline constexpr int32_t controlHeight = 20;    // a line of text with its frame
inline constexpr int32_t textPadding = 4;       // between a control's frame and its text
inline constexpr int32_t arrowWidth = 16;       // a combo box's or number field's arrows
inline constexpr int32_t checkSize = 12;        // the square of a check box
inline constexpr int32_t checkGap = 6;          // between that square and the text
inline constexpr int32_t buttonPadding = 12;    // each side of a button's text
inline constexpr int32_t borderInset = 2;       // a group's border line and the gap inside it
inline constexpr int32_t listBorder = 1;        // the tree view's frame
}  // namespace metric

inline constexpr size_t noGroup = SIZE_MAX;

struct PlacedControl {
    Box frame;               // where the control is drawn
    Box cell;                // the grid cell it was given
    Box inner;               // a group's cells share this; for other controls the frame
    size_t group = noGroup;  // index of the enclosing group in the dialog's controls
    int32_t column = 0, row = 0;
};

struct DialogLayout {
    int32_t width = 0, height = 0;
    Box titleBar, menuBar, client;  // menuBar is empty without a menu
    std::vector<Box> menuTitles;    // one per entry of the menu bar, in menu order
    std::vector<size_t> menuTitleEntries;
    std::vector<PlacedControl> controls;  // one per control of the dialog, same order
};

// A size the module asked for, in pixels (HOST_SIZE_PIXELS adds nothing); 0
// when the host chooses.
int32_t requestedPixels(int32_t size);

// The text a control shows: its label, a combo box's chosen entry, a number
// field's value (shortest form that reads back the same, independent of locale).
std::string shownText(const Control& control);

// What a control needs at least: its contents or the size the module asked
// for, whichever is larger.
int32_t naturalWidth(const Control& control);
int32_t naturalHeight(const Control& control);

DialogLayout layOutDialog(const HostDialog& dialog, WindowSize requested = {});

// A group's border, and whether the title sits in it.
bool hasBorder(const Control& group);
bool showsTitle(const Control& group);

// The frame's area inside its border where a group draws its cells.
Box insideBorder(const Control& group, Box frame);

}  // namespace substitute
