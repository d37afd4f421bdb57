#include <gtest/gtest.h>

#include "expected_command_id.h"
#include "ui_clients.h"

using namespace ui_test;
using substitute::ControlKind;

namespace {

struct DialogToolkit : ::testing::Test {
    substitute::SubstituteHost host;
    FakeDialog fake;
    HostDialog& dialog() { return *fake.dialog; }
};

TEST_F(DialogToolkit, OpeningBuildsTheLayoutThenTheValuesOnce) {
    ASSERT_TRUE(fake.open());
    EXPECT_EQ(fake.received, (std::vector<int32_t>{HOST_MSG_INIT_LAYOUT, HOST_MSG_INIT_VALUES}));
    EXPECT_TRUE(tables().t_C4DOS_Gd->isOpen(fake.dialog));
    EXPECT_EQ(host.ui.findDialog(kit::expectedCommandId), fake.dialog);

    // Opening an open window changes nothing but is still recorded.
    ASSERT_TRUE(fake.open());
    EXPECT_EQ(fake.received.size(), 2u);
    ASSERT_EQ(dialog().openCalls.size(), 2u);
    const substitute::OpenCall& call = dialog().openCalls[0];
    EXPECT_EQ(std::vector<int32_t>({call.kind, call.pluginId, call.subId, call.x, call.y, call.width, call.height}),
              std::vector<int32_t>({HOST_DIALOG_NON_MODAL, kit::expectedCommandId, 0, HOST_DIALOG_POSITION_ANY,
                                    HOST_DIALOG_POSITION_ANY, 0, 0}));
}

TEST_F(DialogToolkit, TheWidgetTreeKeepsCreationOrderNestingAndValues) {
    fake.open();
    std::vector<std::pair<ControlKind, size_t>> shape;
    for (const substitute::Control& control : dialog().controls) shape.emplace_back(control.kind, control.depth);
    EXPECT_EQ(shape, (std::vector<std::pair<ControlKind, size_t>>{{ControlKind::Group, 0},
                                                                  {ControlKind::StaticText, 1},
                                                                  {ControlKind::ComboBox, 1},
                                                                  {ControlKind::NumberField, 1},
                                                                  {ControlKind::CheckBox, 1},
                                                                  {ControlKind::Button, 0},
                                                                  {ControlKind::Button, 0},
                                                                  {ControlKind::CustomGui, 0}}));
    const substitute::Control& group = dialog().controls[0];
    EXPECT_EQ(group.text, "Options");
    EXPECT_EQ(group.columns, 2);
    EXPECT_EQ(group.borderSpace, (std::array<int32_t, 4>{4, 4, 4, 4}));
    EXPECT_EQ(substitute::findControl(dialog(), NUMBER)->format, HOST_NUMBER_FORMAT_FLOAT);

    EXPECT_EQ(substitute::describeDialog(dialog()),
              "window \"Fake\" open\n"
              "menu \"Help\"\n"
              "  command 5001 \"About...\"\n"
              "group 10004 \"Options\" (2 columns)\n"
              "  text 10004 \"Action\"\n"
              "  combo box 5008 = 2 \"Remove\" [0 \"Identify\", 2 \"Remove\"]\n"
              "  number field 1005 = 0\n"
              "  check box 5009 \"Warn\" = on\n"
              "button 1002 \"Process\"\n"
              "button 1003 \"Cancel\" (disabled)\n"
              "tree view 10000\n");
}

TEST_F(DialogToolkit, ModuleReadsAndWritesValuesByControlId) {
    fake.open();
    const HostDialogTable& gd = *tables().t_C4DOS_Gd;
    int32_t combo = 0;
    double number = 1.0;
    bool check = false;
    EXPECT_TRUE(gd.getInt32(fake.dialog, COMBO, &combo));
    EXPECT_TRUE(gd.getFloat(fake.dialog, NUMBER, &number));
    EXPECT_TRUE(gd.getBool(fake.dialog, CHECK, &check));
    EXPECT_EQ(combo, 2);
    EXPECT_EQ(number, 0.0);
    EXPECT_TRUE(check);
    // The module may put a combo box on a value that is none of its entries.
    EXPECT_TRUE(gd.setInt32(fake.dialog, COMBO, 7, INT32_MIN, INT32_MAX, 1, false));
    gd.getInt32(fake.dialog, COMBO, &combo);
    EXPECT_EQ(combo, 7);
    EXPECT_FALSE(gd.getInt32(fake.dialog, 4242, &combo));
    EXPECT_FALSE(gd.setBool(fake.dialog, BUTTON, true, false)) << "a button holds no value";
}

TEST_F(DialogToolkit, UserActionsSendTheControlIdAndSetValuesAsAUserWould) {
    fake.open();
    EXPECT_EQ(substitute::chooseComboEntry(dialog(), COMBO, 0), "");
    EXPECT_EQ(substitute::setNumber(dialog(), NUMBER, 1234.9), "");
    EXPECT_EQ(substitute::setCheckBox(dialog(), CHECK, false), "");
    EXPECT_EQ(substitute::pressButton(dialog(), BUTTON), "");
    EXPECT_EQ(substitute::chooseMenu(dialog(), MENU_ABOUT), "");
    EXPECT_EQ(fake.commands, (std::vector<int32_t>{COMBO, NUMBER, CHECK, BUTTON, MENU_ABOUT}));
    EXPECT_EQ(substitute::findControl(dialog(), COMBO)->value, 0.0);
    EXPECT_EQ(substitute::findControl(dialog(), CHECK)->value, 0.0);
    // A typed number is kept within the field's range.
    EXPECT_DOUBLE_EQ(substitute::findControl(dialog(), NUMBER)->value, 100.0);
}

TEST_F(DialogToolkit, UserActionsRefuseWhatAUserCannotDo) {
    fake.open();
    tables().t_C4DOS_Gd->enable(fake.dialog, COMBO, false);
    struct Case {
        std::string refusal;
        std::string expected;
    } cases[] = {
        {substitute::pressButton(dialog(), DISABLED_BUTTON), "button 1003 \"Cancel\" is disabled"},
        {substitute::chooseComboEntry(dialog(), COMBO, 0), "combo box 5008 is disabled"},
        {substitute::pressButton(dialog(), 4242), "the window has no button 4242"},
        {substitute::setCheckBox(dialog(), NUMBER, true), "the window has no check box 1005"},
        {substitute::chooseMenu(dialog(), 5002), "the menu has no command 5002"},
        {substitute::setNumber(dialog(), NUMBER, std::nan("")), "number field 1005 takes no NaN"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.refusal, c.expected);
    tables().t_C4DOS_Gd->enable(fake.dialog, COMBO, true);
    EXPECT_EQ(substitute::chooseComboEntry(dialog(), COMBO, 1), "combo box 5008 has no entry 1");
    EXPECT_TRUE(fake.commands.empty());
    EXPECT_EQ(substitute::findControl(dialog(), COMBO)->value, 2.0) << "a refused action changes nothing";
}

TEST_F(DialogToolkit, ClosingAsksTheDialogAndEndsTheWidgets) {
    fake.open();
    HostGui* treeView = fake.treeView;
    ASSERT_NE(treeView, nullptr);
    fake.askCloseAnswer = 1;
    EXPECT_EQ(substitute::closeWindow(dialog()), "");
    EXPECT_TRUE(dialog().open) << "the dialog refused to close";

    fake.askCloseAnswer = 0;
    fake.received.clear();
    EXPECT_EQ(substitute::closeWindow(dialog()), "");
    EXPECT_FALSE(dialog().open);
    EXPECT_EQ(fake.received, (std::vector<int32_t>{HOST_MSG_ASK_CLOSE, HOST_MSG_WINDOW_GONE}));
    EXPECT_TRUE(dialog().controls.empty());
    EXPECT_FALSE(host.handles.isLive(treeView, substitute::HandleKind::Gui));
    EXPECT_EQ(substitute::pressButton(dialog(), BUTTON), "the window is closed");
    EXPECT_EQ(substitute::describeDialog(dialog()), "window \"Fake\" closed\n");

    // The next window is built afresh.
    fake.received.clear();
    fake.open();
    EXPECT_EQ(fake.received, (std::vector<int32_t>{HOST_MSG_INIT_LAYOUT, HOST_MSG_INIT_VALUES}));
}

TEST_F(DialogToolkit, CloseFromTheModuleDoesNotAsk) {
    fake.open();
    fake.askCloseAnswer = 1;
    fake.received.clear();
    EXPECT_TRUE(tables().t_C4DOS_Gd->close(fake.dialog));
    EXPECT_FALSE(dialog().open);
    EXPECT_EQ(fake.received, (std::vector<int32_t>{HOST_MSG_WINDOW_GONE}));
}

TEST_F(DialogToolkit, ALayoutThatFailsLeavesTheWindowClosed) {
    fake.failLayout = true;
    EXPECT_FALSE(fake.open());
    EXPECT_FALSE(dialog().open);
    EXPECT_EQ(fake.received, (std::vector<int32_t>{HOST_MSG_INIT_LAYOUT}));
    EXPECT_EQ(host.handles.count(substitute::HandleKind::Gui), 0u);
}

TEST_F(DialogToolkit, DestroyingAnOpenDialogEndsItsWindowAndHandle) {
    fake.open();
    HostDialog* handle = fake.dialog;
    tables().t_C4DOS_Gd->destroy(std::exchange(fake.dialog, nullptr));
    EXPECT_TRUE(host.ui.dialogs.empty());
    EXPECT_FALSE(host.handles.isLive(handle, substitute::HandleKind::Dialog));
    EXPECT_EQ(host.handles.count(substitute::HandleKind::Gui), 0u);
    EXPECT_EQ(host.handles.count(substitute::HandleKind::Container), 0u);
}

TEST_F(DialogToolkit, TestsCanSendTheOtherMessages) {
    fake.open();
    for (int32_t id : {HOST_MSG_INTERACT_START, HOST_MSG_HIDDEN, HOST_MSG_SHOWN}) {
        substitute::sendDialogMessage(dialog(), id);
        EXPECT_EQ(fake.received.back(), id);
    }
}

TEST(DialogToolkitFaults, AFreedDialogHandleIsCaught) {
    substitute::SubstituteHost host;
    auto* handle = tables().t_C4DOS_Gd->create(&FakeDialog::message, nullptr);
    tables().t_C4DOS_Gd->destroy(handle);
    EXPECT_DEATH(tables().t_C4DOS_Gd->isOpen(handle), "Gd.isOpen: dialog handle .* is not live");
}

}  // namespace
