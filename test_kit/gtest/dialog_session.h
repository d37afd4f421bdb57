// The tool dialog bound in-process to a fresh substitute host, its window
// opened the way the command opens it, and the user's side of that window:
// for tests that operate the dialog and read what it shows.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bound_host.h"
#include "cleartrace_dialog.h"
#include "dialog_codes.h"
#include "expected_command_id.h"
#include "scene_file/scene_file.h"

class DialogSession : public ::testing::Test {
protected:
    DialogSession() {
        document = host.scene.newDocument();
        dialog = host::createZeroed<CleartraceDialog>(__FILE__, __LINE__);
        openWindow();
    }

    ~DialogSession() override {
        host::destroyZeroed(dialog);
        // Every record, name and temporary went back to the host.
        EXPECT_EQ(host.services.liveBlocks(), 0);
        EXPECT_EQ(host.services.liveStrings(), 0);
    }

    // Loads json as the active document (the previous one closes).
    void load(const std::string& json) {
        HostDocument* previous = document;
        const substitute::SceneLoad loaded = substitute::loadScene(host.scene, json);
        ASSERT_NE(loaded.document, nullptr) << loaded.error;
        document = loaded.document;
        if (previous != nullptr) host.scene.closeDocument(previous);
    }
    // The active document as a scene file.
    std::string saved() { return substitute::saveScene(host.scene, *document); }

    void openWindow() {
        ASSERT_TRUE(dialog->open(HOST_DIALOG_NON_MODAL, kit::expectedCommandId, 0, HOST_DIALOG_POSITION_ANY,
                                 HOST_DIALOG_POSITION_ANY, 0, 0, HOST_DIALOG_OPEN_PLAIN));
    }

    HostDialog& window() { return *host.ui.findDialog(kit::expectedCommandId); }
    HostGui& treeView() { return *substitute::treeViewIn(window(), IDC_TREE_VIEW); }
    const substitute::Control& control(int32_t id) { return *substitute::findControl(window(), id); }

    // What the user does; each must be accepted.
    void choose(int32_t comboId, int32_t entry) {
        ASSERT_EQ(substitute::chooseComboEntry(window(), comboId, entry), "");
    }
    void choose(int32_t comboId, PluginType type) { choose(comboId, entryId(type)); }
    void choose(int32_t comboId, Action action) { choose(comboId, entryId(action)); }
    void press(int32_t buttonId) { ASSERT_EQ(substitute::pressButton(window(), buttonId), ""); }
    void menu(int32_t commandId) { ASSERT_EQ(substitute::chooseMenu(window(), commandId), ""); }
    void typeId(double value) { ASSERT_EQ(substitute::setNumber(window(), IDC_PLUGIN_ID, value), ""); }
    void check(int32_t boxId, bool on) { ASSERT_EQ(substitute::setCheckBox(window(), boxId, on), ""); }

    // A Generate List run of id for one plug-in type, whole scene.
    void listInstances(PluginType pluginType, double id) {
        choose(IDC_ACTION, GenerateList);
        choose(IDC_PLUGIN_TYPE, pluginType);
        typeId(id);
        press(IDC_PROCESS);
    }

    // The list as the tree view draws it now.
    std::vector<std::string> headers() { return substitute::headerTexts(substitute::drawTreeView(treeView())); }
    std::vector<std::vector<std::string>> rows() { return substitute::rowTexts(substitute::drawTreeView(treeView())); }

    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const substitute::MessageBoxRecord& box : host.ui.messageBoxes.shown) texts.push_back(box.text);
        return texts;
    }

    BoundHost bound;
    substitute::SubstituteHost& host = bound.host;
    HostDocument* document = nullptr;
    CleartraceDialog* dialog = nullptr;
};
