// Tiny module-side clients for the interface tests: a dialog and a tree view
// that talk to the substitute host only through its C tables, as a module does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/substitute_host.h"
#include "dialog_contract.h"
#include "expected_command_id.h"
#include "kernel/host_strings.h"

namespace ui_test {

// A host string the test holds for the duration of a call.
class Text {
public:
    Text(std::string_view text) : handle_(substitute::makeString(text)) {}
    ~Text() { substitute::releaseString(handle_); }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    operator const HostString*() const { return handle_; }

private:
    HostString* handle_;
};

inline const HostTables& tables() { return *substitute::SubstituteHost::current().tables(); }

// The clients build controls of each kind with the dialog's own ids, so the
// host sees the ids it meets in the module's window.
inline constexpr int32_t COMBO = IDC_ACTION;
inline constexpr int32_t NUMBER = IDC_PLUGIN_ID;
inline constexpr int32_t CHECK = IDC_WARN_BEFORE_DELETING;
inline constexpr int32_t BUTTON = IDC_PROCESS;
inline constexpr int32_t DISABLED_BUTTON = IDC_CANCEL;
inline constexpr int32_t MENU_ABOUT = IDM_ABOUT;
inline constexpr int32_t TREE = IDC_TREE_VIEW;
inline constexpr int32_t LABEL = IDC_ANONYMOUS;

// A dialog that builds a small window and records every message it gets.
struct FakeDialog {
    HostDialog* dialog = nullptr;
    std::vector<int32_t> received;  // message ids in order
    std::vector<int32_t> commands;  // control ids of bACT
    int32_t askCloseAnswer = 0;
    bool failLayout = false;
    HostGui* treeView = nullptr;

    FakeDialog() { dialog = tables().t_C4DOS_Gd->create(&message, this); }
    ~FakeDialog() {
        if (dialog) tables().t_C4DOS_Gd->destroy(dialog);
    }
    FakeDialog(const FakeDialog&) = delete;
    FakeDialog& operator=(const FakeDialog&) = delete;

    bool open() {
        return tables().t_C4DOS_Gd->open(dialog, HOST_DIALOG_NON_MODAL, kit::expectedCommandId, 0,
                                         HOST_DIALOG_POSITION_ANY, HOST_DIALOG_POSITION_ANY, 0, 0,
                                         HOST_DIALOG_OPEN_PLAIN);
    }

    static int32_t message(void* user, const HostContainer* msg, HostContainer*) {
        auto& self = *static_cast<FakeDialog*>(user);
        const HostContainerTable& bc = *tables().t_C4DOS_Bc;
        int32_t id = bc.id(msg);
        self.received.push_back(id);
        switch (id) {
            case HOST_MSG_INIT_LAYOUT: return self.failLayout ? 0 : self.buildLayout();
            case HOST_MSG_INIT_VALUES: return self.initValues();
            case HOST_MSG_COMMAND: self.commands.push_back(bc.getInt32(msg, HOST_MSG_KEY_CONTROL_ID, -1)); return 1;
            case HOST_MSG_ASK_CLOSE: return self.askCloseAnswer;
            default: return 0;
        }
    }

    int32_t buildLayout() {
        const HostDialogTable& gd = *tables().t_C4DOS_Gd;
        gd.setTitle(dialog, Text("Fake"));
        gd.menuClear(dialog);
        gd.menuSubBegin(dialog, Text("Help"));
        gd.menuAddCommand(dialog, MENU_ABOUT, Text("About..."));
        gd.menuSubEnd(dialog);
        gd.menuFinish(dialog);
        gd.groupBegin(dialog, LABEL, HOST_LAYOUT_FILL_WIDTH | HOST_LAYOUT_TOP, 2, 0, Text("Options"), 0, 0, 0);
        gd.groupBorderSpace(dialog, 4, 4, 4, 4);
        gd.addStaticText(dialog, LABEL, HOST_LAYOUT_LEFT | HOST_LAYOUT_TOP, 200, 0, Text("Action"), HOST_BORDER_NONE);
        gd.addComboBox(dialog, COMBO, HOST_LAYOUT_FILL_WIDTH | HOST_LAYOUT_TOP, 0, 0, false, false);
        gd.addComboEntry(dialog, COMBO, 0, Text("Identify"));
        gd.addComboEntry(dialog, COMBO, 2, Text("Remove"));
        gd.addNumberField(dialog, NUMBER, HOST_LAYOUT_FILL_WIDTH | HOST_LAYOUT_TOP, 500, 0);
        gd.addCheckBox(dialog, CHECK, HOST_LAYOUT_FILL_WIDTH | HOST_LAYOUT_TOP, 0, 0, Text("Warn"));
        gd.groupEnd(dialog);
        gd.addButton(dialog, BUTTON, HOST_LAYOUT_LEFT, 100, 0, Text("Process"));
        gd.addButton(dialog, DISABLED_BUTTON, HOST_LAYOUT_LEFT, 100, 0, Text("Cancel"));
        HostContainer* settings = tables().t_C4DOS_Bc->create(HOST_CONTAINER_PLAIN);
        tables().t_C4DOS_Bc->setBool(settings, HOST_TREE_VIEW_HEADER_ROW, true);
        treeView =
            gd.addCustomGui(dialog, TREE, HOST_LIBRARY_TREE_VIEW, nullptr,
                            HOST_LAYOUT_FILL_WIDTH | HOST_LAYOUT_FILL_HEIGHT, 0, HOST_TREE_VIEW_MIN_HEIGHT, settings);
        tables().t_C4DOS_Bc->free(settings);
        return 1;
    }

    int32_t initValues() {
        const HostDialogTable& gd = *tables().t_C4DOS_Gd;
        gd.setFloat(dialog, NUMBER, 0.0, -100.0, 100.0, 1.0, HOST_NUMBER_FORMAT_FLOAT, 0, 0, false, false);
        gd.setInt32(dialog, COMBO, 2, INT32_MIN, INT32_MAX, 1, false);
        gd.setBool(dialog, CHECK, true, false);
        gd.enable(dialog, DISABLED_BUTTON, false);
        return 1;
    }
};

}  // namespace ui_test
