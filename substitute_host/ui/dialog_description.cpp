// Reading the window: its controls found by id, and the window described as
// lines, each control with its name, value and state.
#include "ui/dialogs.h"

#include <cstdio>

#include "ui/dialog_parts.h"

namespace substitute {
namespace {
std::string quoted(const std::string& text) {
    std::string result = "\"";
    for (char c : text) {
        if (c == '\n') {
            result += "\\n";
            continue;
        }
        if (c == '"' || c == '\\') result += '\\';
        result += c;
    }
    return result + '"';
}

std::string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

std::string describeValue(const Control& control) {
    // Appended piece by piece: g++ 12 misreads "literal" + std::string here.
    std::string line;
    switch (control.kind) {
        case ControlKind::CheckBox: return control.value != 0.0 ? " = on" : " = off";
        case ControlKind::NumberField: line.append(" = ").append(number(control.value)); return line;
        case ControlKind::ComboBox:
            line.append(" = ").append(number(control.value));
            for (const ComboEntry& entry : control.entries) {
                if (entry.id == control.value) line.append(" ").append(quoted(entry.text));
            }
            line.append(" [");
            for (size_t i = 0; i < control.entries.size(); ++i) {
                if (i > 0) line.append(", ");
                line.append(std::to_string(control.entries[i].id)).append(" ").append(quoted(control.entries[i].text));
            }
            return line.append("]");
        case ControlKind::Group:
            line.append(" (").append(std::to_string(control.columns)).append(" columns)");
            return line;
        default: return line;
    }
}
}  // namespace

const char* controlKindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Group: return "group";
        case ControlKind::StaticText: return "text";
        case ControlKind::ComboBox: return "combo box";
        case ControlKind::NumberField: return "number field";
        case ControlKind::CheckBox: return "check box";
        case ControlKind::Button: return "button";
        case ControlKind::CustomGui: return "tree view";
    }
    return "?";
}

Control* controlOfKind(HostDialog& dialog, int32_t id, ControlKind kind) {
    for (Control& control : dialog.controls) {
        if (control.id == id && control.kind == kind) return &control;
    }
    return nullptr;
}

std::string nameOf(const Control& control) {
    std::string name = std::string(controlKindName(control.kind)) + " " + std::to_string(control.id);
    return control.text.empty() ? name : name + " " + quoted(control.text);
}

const Control* findControl(const HostDialog& dialog, int32_t id) {
    for (const Control& control : dialog.controls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

HostGui* treeViewIn(const HostDialog& dialog, int32_t controlId) {
    for (const Control& control : dialog.controls) {
        if (control.id == controlId && control.gui) return control.gui.get();
    }
    return nullptr;
}

std::string describeDialog(const HostDialog& dialog) {
    std::string text = "window " + quoted(dialog.title) + (dialog.open ? " open\n" : " closed\n");
    for (const MenuEntry& entry : dialog.menu) {
        std::string kind = entry.subMenu ? "menu " : "command " + std::to_string(entry.id) + " ";
        text += std::string(2 * entry.depth, ' ') + kind + quoted(entry.text) + "\n";
    }
    for (const Control& control : dialog.controls) {
        text += std::string(2 * control.depth, ' ') + nameOf(control) + describeValue(control) +
                (control.enabled ? "" : " (disabled)") + "\n";
    }
    return text;
}

}  // namespace substitute
