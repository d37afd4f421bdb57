// A dialog over a fresh substitute host with one empty document, for the
// tests of the search: runs a driver and reads back rows, boxes, notices and
// the undo history. Checks after each test that nothing of the module's
// memory or strings is left.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bound_host.h"
#include "cleartrace_dialog.h"
#include "dialog_codes.h"
#include "expected_command_id.h"
#include "search.h"

inline constexpr int32_t kPlugin = 1234;
inline constexpr int32_t kLayerShader = HOST_LAYER_SHADER_TYPE;

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        document = scene().newDocument();
        dialog = host::createZeroed<CleartraceDialog>(__FILE__, __LINE__);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->open(HOST_DIALOG_NON_MODAL, kit::expectedCommandId, 0, HOST_DIALOG_POSITION_ANY,
                                 HOST_DIALOG_POSITION_ANY, 0, 0, HOST_DIALOG_OPEN_PLAIN));
        request.warnBeforeDeleting = false;
    }
    void TearDown() override {
        host::destroyZeroed(dialog);
        EXPECT_EQ(bound.host.services.liveBlocks(), 0) << testing::PrintToString(bound.host.services.leakReport());
        EXPECT_EQ(bound.host.services.liveStrings(), 0);
    }

    substitute::Scene& scene() { return bound.host.scene; }
    std::vector<std::string> describe() const { return substitute::describeScene(bound.host.scene, *document); }
    size_t notices() const { return bound.host.scene.notices.sceneChanges.size(); }
    std::vector<substitute::MessageBoxRecord>& boxes() { return bound.host.ui.messageBoxes.shown; }

    // A run of request for type as the dialog makes it: an id the number
    // field cannot hold searches nothing.
    void run(PluginType type, Action action, double id = kPlugin, int32_t scope = 0) {
        request.pluginType = type;
        request.action = action;
        request.scope = scope;
        if (!pluginIdFromField(id, request.pluginId)) return;
        searchAndShow(*dialog, document, request);
    }

    // "row name", plus " #tag", " ch N" and " layered" where the row has them.
    std::vector<std::string> rows() const {
        std::vector<std::string> result;
        for (const ResultRecord& r : dialog->results.records) {
            std::string row = std::to_string(r.rowNumber) + " " + std::string(r.name.view());
            if (!r.tagName.empty()) row += " #" + std::string(r.tagName.view());
            if (r.channel >= 0) row += " ch" + std::to_string(r.channel);
            if (r.inLayerShader) row += " layered";
            result.push_back(row);
        }
        return result;
    }

    // Names of the elements the last undo group deleted, in order.
    std::vector<std::string> undoSteps() const {
        std::vector<std::string> names;
        if (document->undo.done.empty()) return names;
        for (const substitute::UndoStep& step : document->undo.done.back().steps) {
            if (step.kind == substitute::UndoKind::Delete) names.push_back(step.snapshot->name);
        }
        return names;
    }

    // Every removal is one undo away from the scene before it, and one redo
    // away from the scene after it.
    void expectUndoRedo(const std::vector<std::string>& before) {
        const std::vector<std::string> after = describe();
        ASSERT_TRUE(scene().undo(*document));
        EXPECT_EQ(describe(), before);
        ASSERT_TRUE(scene().redo(*document));
        EXPECT_EQ(describe(), after);
    }

    BoundHost bound;
    HostDocument* document = nullptr;
    CleartraceDialog* dialog = nullptr;  // holds the store and the tree view that shows it
    SearchRequest request;
};
