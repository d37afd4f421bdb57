// The user at the window: each operation acts as a user would, and refuses
// what a user could not do with the reason.
#include "ui/dialogs.h"

#include <algorithm>

#include "ui/dialog_parts.h"

namespace substitute {
namespace {
// The control of this kind the user can operate, or null with the reason in refusal.
Control* usable(HostDialog& dialog, int32_t id, ControlKind kind, std::string& refusal) {
    if (!dialog.open) {
        refusal = "the window is closed";
        return nullptr;
    }
    Control* control = controlOfKind(dialog, id, kind);
    if (control == nullptr) {
        refusal = std::string("the window has no ") + controlKindName(kind) + " " + std::to_string(id);
    } else if (!control->enabled) {
        refusal = nameOf(*control) + " is disabled";
        control = nullptr;
    }
    return control;
}
}  // namespace

std::string chooseComboEntry(HostDialog& dialog, int32_t id, int32_t entryId) {
    std::string refusal;
    Control* combo = usable(dialog, id, ControlKind::ComboBox, refusal);
    if (combo == nullptr) return refusal;
    auto& entries = combo->entries;
    if (std::none_of(entries.begin(), entries.end(), [&](const ComboEntry& entry) { return entry.id == entryId; })) {
        return nameOf(*combo) + " has no entry " + std::to_string(entryId);
    }
    combo->value = entryId;
    sendDialogMessage(dialog, HOST_MSG_COMMAND, id);
    return {};
}

std::string setNumber(HostDialog& dialog, int32_t id, double value) {
    std::string refusal;
    Control* field = usable(dialog, id, ControlKind::NumberField, refusal);
    if (field == nullptr) return refusal;
    if (std::isnan(value)) return nameOf(*field) + " takes no NaN";
    setValue(*field, value);
    sendDialogMessage(dialog, HOST_MSG_COMMAND, id);
    return {};
}

std::string setCheckBox(HostDialog& dialog, int32_t id, bool value) {
    std::string refusal;
    Control* box = usable(dialog, id, ControlKind::CheckBox, refusal);
    if (box == nullptr) return refusal;
    box->value = value ? 1.0 : 0.0;
    sendDialogMessage(dialog, HOST_MSG_COMMAND, id);
    return {};
}

std::string pressButton(HostDialog& dialog, int32_t id) {
    std::string refusal;
    if (usable(dialog, id, ControlKind::Button, refusal) == nullptr) return refusal;
    sendDialogMessage(dialog, HOST_MSG_COMMAND, id);
    return {};
}

std::string chooseMenu(HostDialog& dialog, int32_t id) {
    if (!dialog.open) return "the window is closed";
    auto& menu = dialog.menu;
    auto isCommand = [&](const MenuEntry& entry) { return !entry.subMenu && entry.id == id; };
    if (std::none_of(menu.begin(), menu.end(), isCommand)) {
        return "the menu has no command " + std::to_string(id);
    }
    sendDialogMessage(dialog, HOST_MSG_COMMAND, id);
    return {};
}

std::string closeWindow(HostDialog& dialog) {
    if (!dialog.open) return "the window is closed";
    if (sendDialogMessage(dialog, HOST_MSG_ASK_CLOSE) == HOST_DIALOG_NOT_DONE) closeNow(dialog);
    return {};
}

std::string doubleClick(HostDialog& dialog, int32_t treeViewId, size_t row, int32_t column, bool* handled) {
    std::string refusal;
    Control* control = usable(dialog, treeViewId, ControlKind::CustomGui, refusal);
    if (control == nullptr) return refusal;
    HostGui& gui = *control->gui;
    auto& columns = gui.columns;
    if (std::none_of(columns.begin(), columns.end(), [&](const Column& shown) { return shown.id == column; })) {
        return nameOf(*control) + " has no column " + fourCharacterCode(column);
    }
    std::vector<void*> rows = listRows(gui);
    if (row >= rows.size()) {
        return nameOf(*control) + " has no row " + std::to_string(row) + " (" + std::to_string(rows.size()) + " rows)";
    }
    bool answer = doubleClickRow(gui, rows[row], column);
    if (handled) *handled = answer;
    return {};
}

}  // namespace substitute
