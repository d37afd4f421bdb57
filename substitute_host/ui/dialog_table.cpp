// The dialog table the module calls: building the layout and the menu,
// opening and closing the window, and the values of the controls.
#include "ui/dialogs.h"

#include <algorithm>

#include "core/fault.h"
#include "core/substitute_host.h"
#include "kernel/host_strings.h"
#include "ui/dialog_parts.h"

namespace substitute {
namespace {
HandleRegistry& handles() { return SubstituteHost::current().handles; }

bool holdsValue(ControlKind kind) {
    return kind == ControlKind::ComboBox || kind == ControlKind::NumberField || kind == ControlKind::CheckBox;
}

// The first control with this id that holds a value; null when there is none.
Control* valueControl(const HostDialog& dialog, int32_t id) {
    for (const Control& control : dialog.controls) {
        if (control.id == id && holdsValue(control.kind)) return const_cast<Control*>(&control);
    }
    return nullptr;
}

void setRange(Control& control, double minimum, double maximum, double step) {
    // A range the wrong way round leaves the value unbounded rather than unsettable.
    control.minimum = minimum <= maximum ? minimum : -HUGE_VAL;
    control.maximum = minimum <= maximum ? maximum : HUGE_VAL;
    control.step = step;
}

Control& addControl(HostDialog& dialog, ControlKind kind, int32_t id, int32_t flags, int32_t width, int32_t height,
                    std::string text) {
    Control control;
    control.kind = kind;
    control.id = id;
    control.flags = flags;
    control.width = width;
    control.height = height;
    control.text = std::move(text);
    control.depth = dialog.openGroups.size();
    dialog.controls.push_back(std::move(control));
    return dialog.controls.back();
}

Control* innermostGroup(HostDialog& dialog) {
    return dialog.openGroups.empty() ? nullptr : &dialog.controls[dialog.openGroups.back()];
}
}  // namespace

void setValue(Control& control, double value) { control.value = std::clamp(value, control.minimum, control.maximum); }

HostDialog& dialogOf(const HostDialog* dialog, const char* operation) {
    handles().check(operation, dialog, HandleKind::Dialog);
    return *const_cast<HostDialog*>(dialog);
}

void fillDialogTable(HostDialogTable& table) {
    table.create = [](HostDialogMessageFn message, void* user) -> HostDialog* {
        if (message == nullptr) fault("Gd.create", "no message function");
        SubstituteHost& host = SubstituteHost::current();
        if (!host.services.objectCreationAllowed()) return nullptr;
        auto dialog = std::make_unique<HostDialog>();
        dialog->message = message;
        dialog->user = user;
        host.handles.add(dialog.get(), HandleKind::Dialog);
        host.ui.dialogs.push_back(std::move(dialog));
        return host.ui.dialogs.back().get();
    };
    table.destroy = [](HostDialog* handle) {
        HostDialog& dialog = dialogOf(handle, "Gd.destroy");
        if (dialog.messageDepth > 0) fault("Gd.destroy", "the dialog is destroyed while it handles a message");
        // The owner is going: the window goes without asking it anything.
        destroyWidgets(dialog);
        handles().remove(handle);
        auto& dialogs = SubstituteHost::current().ui.dialogs;
        dialogs.erase(std::find_if(dialogs.begin(), dialogs.end(), [&](auto& held) { return held.get() == handle; }));
    };
    table.isOpen = [](const HostDialog* dialog) { return dialogOf(dialog, "Gd.isOpen").open; };
    table.open = [](HostDialog* dialog, int32_t kind, int32_t pluginId, int32_t subId, int32_t x, int32_t y,
                    int32_t width, int32_t height, int32_t flags) {
        const OpenCall call{false, kind, pluginId, subId, x, y, width, height, flags, nullptr};
        return openWindow(dialogOf(dialog, "Gd.open"), call);
    };
    table.restore = [](HostDialog* dialog, int32_t pluginId, int32_t subId, void* layoutData) {
        return openWindow(dialogOf(dialog, "Gd.restore"), {true, 0, pluginId, subId, 0, 0, 0, 0, 0, layoutData});
    };
    table.close = [](HostDialog* dialog) {
        closeNow(dialogOf(dialog, "Gd.close"));
        return true;
    };
    // The base class's own steps have nothing to add to a headless window.
    table.defaultLayout = [](HostDialog* dialog) {
        dialogOf(dialog, "Gd.defaultLayout");
        return true;
    };
    table.defaultValues = [](HostDialog* dialog) {
        dialogOf(dialog, "Gd.defaultValues");
        return true;
    };
    table.setTitle = [](HostDialog* dialog, const HostString* title) {
        dialogOf(dialog, "Gd.setTitle").title = text(title, "Gd.setTitle");
    };
    table.menuClear = [](HostDialog* handle) {
        HostDialog& dialog = dialogOf(handle, "Gd.menuClear");
        dialog.menu.clear();
        dialog.openSubMenus = 0;
        dialog.menuFinished = false;
    };
    table.menuSubBegin = [](HostDialog* handle, const HostString* title) {
        HostDialog& dialog = dialogOf(handle, "Gd.menuSubBegin");
        dialog.menu.push_back({true, 0, std::string(text(title, "Gd.menuSubBegin")), dialog.openSubMenus++});
    };
    table.menuAddCommand = [](HostDialog* handle, int32_t id, const HostString* title) {
        HostDialog& dialog = dialogOf(handle, "Gd.menuAddCommand");
        dialog.menu.push_back({false, id, std::string(text(title, "Gd.menuAddCommand")), dialog.openSubMenus});
    };
    table.menuSubEnd = [](HostDialog* handle) {
        HostDialog& dialog = dialogOf(handle, "Gd.menuSubEnd");
        if (dialog.openSubMenus == 0) fault("Gd.menuSubEnd", "no sub-menu is open");
        --dialog.openSubMenus;
    };
    table.menuFinish = [](HostDialog* dialog) { dialogOf(dialog, "Gd.menuFinish").menuFinished = true; };
    table.groupBegin = [](HostDialog* handle, int32_t id, int32_t flags, int32_t columns, int32_t rows,
                          const HostString* title, int32_t groupFlags, int32_t width, int32_t height) {
        HostDialog& dialog = dialogOf(handle, "Gd.groupBegin");
        Control& group =
            addControl(dialog, ControlKind::Group, id, flags, width, height, std::string(text(title, "Gd.groupBegin")));
        group.columns = columns;
        group.rows = rows;
        group.groupFlags = groupFlags;
        dialog.openGroups.push_back(dialog.controls.size() - 1);
        return true;
    };
    table.groupEnd = [](HostDialog* handle) {
        HostDialog& dialog = dialogOf(handle, "Gd.groupEnd");
        if (dialog.openGroups.empty()) return false;
        dialog.openGroups.pop_back();
        return true;
    };
    table.groupBorderSpace = [](HostDialog* handle, int32_t left, int32_t top, int32_t right, int32_t bottom) {
        Control* group = innermostGroup(dialogOf(handle, "Gd.groupBorderSpace"));
        if (group) group->borderSpace = {left, top, right, bottom};
        return group != nullptr;
    };
    table.groupBorder = [](HostDialog* handle, uint32_t style) {
        Control* group = innermostGroup(dialogOf(handle, "Gd.groupBorder"));
        if (group) group->borderStyle = style;
        return group != nullptr;
    };
    table.addStaticText = [](HostDialog* handle, int32_t id, int32_t flags, int32_t width, int32_t height,
                             const HostString* title, int32_t borderStyle) {
        HostDialog& dialog = dialogOf(handle, "Gd.addStaticText");
        addControl(dialog, ControlKind::StaticText, id, flags, width, height,
                   std::string(text(title, "Gd.addStaticText")))
            .borderStyle = uint32_t(borderStyle);
        return true;
    };
    table.addComboBox = [](HostDialog* handle, int32_t id, int32_t flags, int32_t width, int32_t height, bool, bool) {
        addControl(dialogOf(handle, "Gd.addComboBox"), ControlKind::ComboBox, id, flags, width, height, {});
        return true;
    };
    table.addComboEntry = [](HostDialog* handle, int32_t comboId, int32_t entryId, const HostString* title) {
        Control* combo = controlOfKind(dialogOf(handle, "Gd.addComboEntry"), comboId, ControlKind::ComboBox);
        if (combo) combo->entries.push_back({entryId, std::string(text(title, "Gd.addComboEntry"))});
        return combo != nullptr;
    };
    table.clearComboEntries = [](HostDialog* handle, int32_t comboId) {
        Control* combo = controlOfKind(dialogOf(handle, "Gd.clearComboEntries"), comboId, ControlKind::ComboBox);
        if (combo) combo->entries.clear();
        return combo != nullptr;
    };
    table.addNumberField = [](HostDialog* handle, int32_t id, int32_t flags, int32_t width, int32_t height) {
        addControl(dialogOf(handle, "Gd.addNumberField"), ControlKind::NumberField, id, flags, width, height, {});
        return true;
    };
    table.addCheckBox = [](HostDialog* handle, int32_t id, int32_t flags, int32_t width, int32_t height,
                           const HostString* title) {
        addControl(dialogOf(handle, "Gd.addCheckBox"), ControlKind::CheckBox, id, flags, width, height,
                   std::string(text(title, "Gd.addCheckBox")));
        return true;
    };
    table.addButton = [](HostDialog* handle, int32_t id, int32_t flags, int32_t width, int32_t height,
                         const HostString* title) {
        addControl(dialogOf(handle, "Gd.addButton"), ControlKind::Button, id, flags, width, height,
                   std::string(text(title, "Gd.addButton")));
        return true;
    };
    table.addCustomGui = [](HostDialog* handle, int32_t id, int32_t guiKind, const HostString* name, int32_t flags,
                            int32_t minWidth, int32_t minHeight, const HostContainer* settings) -> HostGui* {
        HostDialog& dialog = dialogOf(handle, "Gd.addCustomGui");
        std::string title(text(name, "Gd.addCustomGui"));
        // The tree view is the only custom control this host offers.
        if (guiKind != HOST_LIBRARY_TREE_VIEW) return nullptr;
        Control& control = addControl(dialog, ControlKind::CustomGui, id, flags, minWidth, minHeight, title);
        control.guiKind = guiKind;
        control.gui.reset(makeTreeView(id, settings));
        return control.gui.get();
    };
    table.getInt32 = [](const HostDialog* dialog, int32_t id, int32_t* value) {
        const Control* control = valueControl(dialogOf(dialog, "Gd.getInt32"), id);
        if (control && value) *value = int32_t(std::clamp(std::trunc(control->value), -2147483648.0, 2147483647.0));
        return control != nullptr;
    };
    table.getFloat = [](const HostDialog* dialog, int32_t id, double* value) {
        const Control* control = valueControl(dialogOf(dialog, "Gd.getFloat"), id);
        if (control && value) *value = control->value;
        return control != nullptr;
    };
    table.getBool = [](const HostDialog* dialog, int32_t id, bool* value) {
        const Control* control = valueControl(dialogOf(dialog, "Gd.getBool"), id);
        if (control && value) *value = control->value != 0.0;
        return control != nullptr;
    };
    table.setInt32 = [](HostDialog* dialog, int32_t id, int32_t value, int32_t min, int32_t max, int32_t step,
                        bool tristate) {
        Control* control = valueControl(dialogOf(dialog, "Gd.setInt32"), id);
        if (control == nullptr) return false;
        setRange(*control, min, max, step);
        control->tristate = tristate;
        setValue(*control, value);
        return true;
    };
    table.setFloat = [](HostDialog* dialog, int32_t id, double value, double min, double max, double step,
                        int32_t format, double, double, bool, bool tristate) {
        Control* control = valueControl(dialogOf(dialog, "Gd.setFloat"), id);
        if (control == nullptr || std::isnan(value)) return false;
        setRange(*control, min, max, step);
        control->format = format;
        control->tristate = tristate;
        setValue(*control, value);
        return true;
    };
    table.setBool = [](HostDialog* dialog, int32_t id, bool value, bool tristate) {
        Control* control = valueControl(dialogOf(dialog, "Gd.setBool"), id);
        if (control == nullptr) return false;
        control->tristate = tristate;
        control->value = value ? 1.0 : 0.0;
        return true;
    };
    table.enable = [](HostDialog* handle, int32_t id, bool enabled) {
        bool found = false;
        for (Control& control : dialogOf(handle, "Gd.enable").controls) {
            if (control.id != id) continue;
            control.enabled = enabled;
            found = true;
        }
        return found;
    };
}

}  // namespace substitute
