// The dialog toolkit, headless: the widget tree the module builds with the
// layout calls, the values and enabled states of the controls, the window's
// title and open state, and the message protocol (bINI, bVIN, bACT with meid,
// chkc, dsty ...). The user-side operations act as a user would: each one
// refuses, with a text naming the control and changing nothing, what a user
// could not do (a missing or disabled control, a closed window).
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/tree_views.h"

namespace substitute {

enum class ControlKind : uint8_t { Group, StaticText, ComboBox, NumberField, CheckBox, Button, CustomGui };
const char* controlKindName(ControlKind kind);

struct ComboEntry {
    int32_t id = 0;
    std::string text;
};

struct Control {
    ControlKind kind = ControlKind::Group;
    int32_t id = 0;
    int32_t flags = 0;
    int32_t width = 0, height = 0;
    std::string text;  // label, button or check box text, group title, custom control name
    size_t depth = 0;  // number of groups around the control
    bool enabled = true;

    // Combo box (the chosen entry id), number field, check box (0 or 1).
    double value = 0.0;
    double minimum = -HUGE_VAL, maximum = HUGE_VAL, step = 0.0;
    int32_t format = 0;
    bool tristate = false;
    std::vector<ComboEntry> entries;

    // Groups.
    int32_t columns = 0, rows = 0, groupFlags = 0;
    uint32_t borderStyle = 0;              // also a static text's border
    std::array<int32_t, 4> borderSpace{};  // left, top, right, bottom

    // Custom controls (kind HOST_LIBRARY_TREE_VIEW, the tree view).
    int32_t guiKind = 0;
    std::unique_ptr<HostGui> gui;
};

struct MenuEntry {
    bool subMenu = false;  // a sub-menu title; else a command
    int32_t id = 0;
    std::string text;
    size_t depth = 0;
};

// An open or restore call of the module, as it was made.
struct OpenCall {
    bool restore = false;
    int32_t kind = 0, pluginId = 0, subId = 0, x = 0, y = 0, width = 0, height = 0, flags = 0;
    void* layoutData = nullptr;
};

struct SentMessage {
    int32_t id = 0;
    int32_t controlId = 0;  // bACT only
    int32_t answer = 0;
};

}  // namespace substitute

struct HostDialog {
    HostDialogMessageFn message = nullptr;
    void* user = nullptr;
    bool open = false;
    bool opening = false;
    int32_t messageDepth = 0;  // messages under way
    std::string title;
    std::vector<substitute::Control> controls;  // in creation order
    std::vector<size_t> openGroups;             // indexes into controls while the layout is built
    std::vector<substitute::MenuEntry> menu;
    size_t openSubMenus = 0;
    bool menuFinished = false;
    std::vector<substitute::OpenCall> openCalls;
    std::vector<substitute::SentMessage> sent;
};

namespace substitute {

inline constexpr int32_t noControl = 0;

HostDialog& dialogOf(const HostDialog* dialog, const char* operation);

// Sends a message of the protocol to the dialog (bACT with its control id
// under meid); answers what the module answered.
int32_t sendDialogMessage(HostDialog& dialog, int32_t messageId, int32_t controlId = noControl);

// Reading.
const Control* findControl(const HostDialog& dialog, int32_t id);
HostGui* treeViewIn(const HostDialog& dialog, int32_t controlId);
// The window as lines: title and state, the menu, then every control in
// creation order, indented by its groups, with its text, value and state.
std::string describeDialog(const HostDialog& dialog);

// The user. Each answers "" when done, else why it was refused.
std::string chooseComboEntry(HostDialog& dialog, int32_t id, int32_t entryId);
std::string setNumber(HostDialog& dialog, int32_t id, double value);
std::string setCheckBox(HostDialog& dialog, int32_t id, bool value);
std::string pressButton(HostDialog& dialog, int32_t id);
std::string chooseMenu(HostDialog& dialog, int32_t id);
// Asks the dialog (chkc) and closes the window when it agrees.
std::string closeWindow(HostDialog& dialog);
// Double-clicks row (0-based, in list order) in the column with this id.
std::string doubleClick(HostDialog& dialog, int32_t treeViewId, size_t row, int32_t column, bool* handled = nullptr);

void fillDialogTable(HostDialogTable& table);

}  // namespace substitute
