// Find Missing Plugins and Remove Missing Plugins, as the artist sees them:
// one row per plug-in the registry does not know, counted as Generate List
// would count its instances, and one undoable removal of them all.
#include <gtest/gtest.h>

#include <algorithm>

#include "dialog_session.h"
#include "expected_notices.h"
#include "scene_file/scene_file.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

// Every place of every kind. Missing: tags 2000001 (twice) and 2000002, tag
// 3000002 (registered, but as a shader), shaders 2000003 and 2000006 (in a
// channel, in the reflectance layers, in nested layer shaders, in a second
// material, in a missing material), objects 2000004 (nested in each other),
// video posts 2000005 and 2000007 (in the active and in an inactive render
// settings), the material 2000008. Registered: the file's 3000001 and the
// application's own types.
const char* const everyPlace = R"({
  "plugins": [{"id": 3000001, "kind": 6, "name": "Known Tag"}, {"id": 3000002, "kind": 1, "name": "Known Shader"}],
  "objects": [
    {"name": "Group", "type": 5140, "tags": [
      {"name": "T-a", "type": 2000001}, {"name": "Phong", "type": 5612}, {"name": "Known", "type": 3000001}],
     "children": [
      {"name": "Emitter", "type": 2000004, "tags": [{"name": "T-b", "type": 2000002}, {"name": "T-c", "type": 2000001}],
       "children": [{"name": "Inner", "type": 2000004}]},
      {"name": "Cube", "type": 5159, "tags": [{"name": "Odd", "type": 3000002}]}]},
    {"name": "Loose", "type": 2000004}
  ],
  "materials": [
    {"name": "M1", "type": 5703, "channels": {
      "0": {"shader": {"name": "S1", "type": 2000003}},
      "3": {"reflectance": [{"name": "Layers", "type": 1011123, "layers": [
        {"kind": 2, "shader": {"name": "S2", "type": 2000003}},
        {"kind": 2, "shader": {"name": "Deep", "type": 1011123, "layers": [
          {"kind": 2, "shader": {"name": "S3", "type": 2000006}}]}}]}]},
      "6": {"shader": {"name": "Noise", "type": 1011116}}}},
    {"name": "M2", "type": 5703, "channels": {
      "10": {"shader": {"name": "Layer", "type": 1011123, "layers": [
        {"kind": 2, "shader": {"name": "S4", "type": 2000006}}, {"kind": 2, "shader": {"name": "Grad", "type": 1011100}}]}}}},
    {"name": "Render Mat", "type": 2000008, "channels": {
      "0": {"shader": {"name": "S5", "type": 2000003}},
      "5": {"shader": {"name": "L3", "type": 1011123, "layers": [{"kind": 2, "shader": {"name": "S6", "type": 2000006}}]}}}}
  ],
  "renderSettings": [
    {"name": "Main", "active": true, "videoPosts": [
      {"name": "Glow", "type": 2000005}, {"name": "AO", "type": 300001}, {"name": "Glow 2", "type": 2000005}]},
    {"name": "Other", "videoPosts": [{"name": "Hidden", "type": 2000007}]}
  ]
})";

const char* const nothingMissing = R"({
  "plugins": [{"id": 3000001, "kind": 6, "name": "Known Tag"}],
  "objects": [{"name": "Cube", "type": 5159, "tags": [{"name": "Known", "type": 3000001}]}],
  "materials": [{"name": "M", "type": 5703, "channels": {"0": {"shader": {"name": "Noise", "type": 1011116}}}}],
  "renderSettings": [{"name": "Main", "active": true, "videoPosts": [{"name": "AO", "type": 300001}]}]
})";

const Rows everyPlaceMissing = {
    {"2000001", "Tag", "2", "T-a"},
    {"2000002", "Tag", "1", "T-b"},
    {"3000002", "Tag", "1", "Odd"},
    {"2000003", "Shader", "3", "S1"},
    {"2000006", "Shader", "3", "S3"},
    {"2000004", "Object", "3", "Inner"},
    {"2000005", "Post Effect", "2", "Glow"},
    {"2000007", "Post Effect", "1", "Hidden"},
    {"2000008", "Material", "1", "Render Mat"},
};
const Rows noneMissing = {{kit::noMissingPlugins, "", "", ""}};
const Texts missingHeaders = {"Plugin ID", "Type", "Instances", "Name"};

PluginType typeNamed(const std::string& name) {
    for (const ComboEntry& entry : pluginTypeEntries) {
        if (name == entry.text) return PluginType(entry.id);
    }
    ADD_FAILURE() << name;
    return Tag;
}

}  // namespace

class MissingPluginsTest : public DialogSession {
protected:
    void run(Action action, bool warn = false, bool keep = false) {
        choose(IDC_ACTION, Remove);  // the check boxes can be set under a removal only
        check(IDC_WARN_BEFORE_DELETING, warn);
        check(IDC_KEEP_LAYER_SHADERS, keep);
        choose(IDC_ACTION, action);
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
    }

    // The scene after Remove Plugin of each row in turn, whole scene (post
    // effects: of every render settings), no question.
    std::string removedOneByOne(const std::string& json, const Rows& rowsToRemove, bool keep) {
        load(json);
        for (const auto& row : rowsToRemove) {
            choose(IDC_ACTION, Remove);
            check(IDC_WARN_BEFORE_DELETING, false);
            check(IDC_KEEP_LAYER_SHADERS, keep);
            choose(IDC_PLUGIN_TYPE, typeNamed(row[1]));
            if (typeNamed(row[1]) == PostEffect) choose(IDC_SCOPE, 3);
            typeId(std::stod(row[0]));
            press(IDC_PROCESS);
        }
        return saved();
    }
};

TEST_F(MissingPluginsTest, TheActionsEnableOnlyTheControlsTheyUse) {
    struct Row {
        Action action;
        bool warnAndKeep;
    };
    for (const Row& row : {Row{FindMissing, false}, Row{RemoveMissing, true}, Row{FindMissing, false}}) {
        SCOPED_TRACE("action " + std::to_string(entryId(row.action)));
        choose(IDC_ACTION, row.action);
        EXPECT_FALSE(control(IDC_PLUGIN_TYPE).enabled);
        EXPECT_FALSE(control(IDC_SCOPE).enabled);
        EXPECT_TRUE(control(IDC_TREE_VIEW).enabled);
        EXPECT_EQ(control(IDC_WARN_BEFORE_DELETING).enabled, row.warnAndKeep);
        EXPECT_EQ(control(IDC_KEEP_LAYER_SHADERS).enabled, row.warnAndKeep);
        EXPECT_FALSE(dialog->treeFunctions.identifyMode);
    }
}

TEST_F(MissingPluginsTest, FindListsEveryMissingPluginOnceWithTheInstancesGenerateListWouldShow) {
    load(everyPlace);
    const std::string before = saved();
    typeId(1e30);  // the plug-in ID plays no part, not even out of range
    run(FindMissing);
    EXPECT_EQ(headers(), missingHeaders);
    const Rows found = rows();
    EXPECT_EQ(found, everyPlaceMissing);
    EXPECT_EQ(boxTexts(), Texts{});
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(host.scene.undoCount(*document), 0u);

    // Each count is the number of rows Generate List shows for that plug-in
    // in the scope its double-click sets (post effects: every render
    // settings; shaders: all elements), and each name that of its first
    // instance there.
    for (size_t i = 0; i < found.size(); ++i) {
        const auto& row = found[i];
        SCOPED_TRACE(row[0] + " " + row[1]);
        run(FindMissing);
        ASSERT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, int32_t(i), COLUMN_NAME), "");
        EXPECT_EQ(control(IDC_PLUGIN_TYPE).value, entryId(typeNamed(row[1])));
        EXPECT_EQ(control(IDC_SCOPE).value, typeNamed(row[1]) == PostEffect || typeNamed(row[1]) == Shader ? 3.0 : 0.0);
        EXPECT_EQ(std::to_string(rows().size()), row[2]);
    }
    // Back under the instance columns of the chosen type.
    EXPECT_EQ(headers(), Texts{"Material"});
    EXPECT_EQ(rows(), (Rows{{"Render Mat"}}));
    listInstances(PostEffect, 2000005);
    choose(IDC_SCOPE, 3);
    press(IDC_PROCESS);
    EXPECT_EQ(headers(), (Texts{"Post Effect", "Render Settings"}));
    EXPECT_EQ(rows(), (Rows{{"Glow", "Main"}, {"Glow 2", "Main"}}));
}

TEST_F(MissingPluginsTest, ASceneWithNothingMissingSaysSoAndNeitherActionChangesIt) {
    load(nothingMissing);
    const std::string before = saved();
    for (const Action action : {FindMissing, RemoveMissing}) {
        SCOPED_TRACE("action " + std::to_string(entryId(action)));
        run(action, true);
        EXPECT_EQ(rows(), noneMissing);
        EXPECT_EQ(boxTexts(), Texts{});  // no question either
        EXPECT_EQ(saved(), before);
        EXPECT_EQ(host.scene.undoCount(*document), 0u);
        // The not-found row lists nothing when double-clicked.
        EXPECT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, 0, COLUMN_PLUGIN_ID), "");
        EXPECT_EQ(control(IDC_ACTION).value, entryId(action));
    }
    // The application's own types are known: Identify reports them from the registry.
    typeId(5160);
    choose(IDC_ACTION, Identify);
    press(IDC_PROCESS);
    EXPECT_EQ(
        boxTexts().back(),
        "Plugin 5160 was not found in the scene file,\nbut is reported by C4D as a plugin of type\n'Object' with the "
        "name 'Sphere'\n(but see the manual for caveats in this context).");
}

TEST_F(MissingPluginsTest, ADoubleClickOnAMissingPluginListsItsInstances) {
    load(everyPlace);
    choose(IDC_PLUGIN_TYPE, Shader);
    choose(IDC_SCOPE, 2);
    run(FindMissing);
    ASSERT_EQ(rows().size(), everyPlaceMissing.size());
    ASSERT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, 5, COLUMN_NAME), "");
    EXPECT_EQ(control(IDC_ACTION).value, entryId(GenerateList));
    EXPECT_EQ(control(IDC_PLUGIN_TYPE).value, entryId(Object));
    EXPECT_EQ(control(IDC_SCOPE).value, 0.0);
    EXPECT_EQ(control(IDC_PLUGIN_ID).value, 2000004.0);
    EXPECT_TRUE(control(IDC_PLUGIN_TYPE).enabled);
    EXPECT_TRUE(control(IDC_SCOPE).enabled);
    EXPECT_FALSE(control(IDC_WARN_BEFORE_DELETING).enabled);
    EXPECT_EQ(headers(), Texts{"Object Name"});
    EXPECT_EQ(rows(), (Rows{{"Inner"}, {"Emitter"}, {"Loose"}}));

    // From there, Remove Plugin is one step away; the objects take their
    // tags with them.
    choose(IDC_ACTION, Remove);
    check(IDC_WARN_BEFORE_DELETING, false);
    press(IDC_PROCESS);
    run(FindMissing);
    EXPECT_EQ(rows(), (Rows{{"2000001", "Tag", "1", "T-a"},
                            {"3000002", "Tag", "1", "Odd"},
                            {"2000003", "Shader", "3", "S1"},
                            {"2000006", "Shader", "3", "S3"},
                            {"2000005", "Post Effect", "2", "Glow"},
                            {"2000007", "Post Effect", "1", "Hidden"},
                            {"2000008", "Material", "1", "Render Mat"}}));
}

TEST_F(MissingPluginsTest, RemoveTakesEveryInstanceAsOneUndoGroupAndListsWhatStays) {
    struct Case {
        bool keep;
        Rows left;
    };
    const Case cases[] = {
        {false, noneMissing},
        {true, {{"2000003", "Shader", "1", "S2"}, {"2000006", "Shader", "2", "S3"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keep ? "keeping layer shaders" : "removing layer shaders");
        const std::string expected = removedOneByOne(everyPlace, everyPlaceMissing, c.keep);
        load(everyPlace);
        const std::string before = saved();
        run(RemoveMissing, false, c.keep);
        EXPECT_EQ(boxTexts(), Texts{});  // not even the note on shaders left in layer shaders
        EXPECT_EQ(saved(), expected);
        EXPECT_EQ(headers(), missingHeaders);
        EXPECT_EQ(rows(), c.left);
        ASSERT_EQ(host.scene.undoCount(*document), 1u);
        // The missing material goes whole: the missing shaders in it are not removed on their own.
        Texts steps;
        for (const substitute::UndoStep& step : document->undo.done.back().steps) {
            if (step.kind == substitute::UndoKind::Delete) steps.push_back(step.snapshot->name);
        }
        EXPECT_EQ(std::count(steps.begin(), steps.end(), "Render Mat"), 1);
        EXPECT_EQ(std::count(steps.begin(), steps.end(), "S5"), 0);
        EXPECT_EQ(std::count(steps.begin(), steps.end(), "S6"), 0);

        // What stays is what a fresh search finds.
        run(FindMissing);
        EXPECT_EQ(rows(), c.left);

        ASSERT_TRUE(host.scene.undo(*document));
        EXPECT_EQ(saved(), before);
        ASSERT_TRUE(host.scene.redo(*document));
        EXPECT_EQ(saved(), expected);
    }
}

TEST_F(MissingPluginsTest, TheQuestionComesWithTheListAndNoChangesNothing) {
    load(everyPlace);
    const std::string before = saved();
    host.ui.messageBoxes.questionAnswers = {HOST_ANSWER_NO};
    run(RemoveMissing, true);
    ASSERT_EQ(host.ui.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(host.ui.messageBoxes.shown[0].text,
              "Are you sure you want to delete every instance of the missing plugins?");
    EXPECT_EQ(host.ui.messageBoxes.shown[0].style, HOST_MESSAGE_BOX_QUESTION);
    EXPECT_EQ(rows(), everyPlaceMissing);
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(host.scene.undoCount(*document), 0u);

    host.ui.messageBoxes.questionAnswers = {HOST_ANSWER_YES};
    run(RemoveMissing, true);
    EXPECT_EQ(rows(), noneMissing);
    EXPECT_EQ(host.scene.undoCount(*document), 1u);
}

TEST_F(MissingPluginsTest, ARunCutShortForMemoryShowsNoCountsAndRemovesNothing) {
    struct Case {
        Action action;
        bool keep;
        const char* notice;
    };
    const Case cases[] = {
        {FindMissing, false, kit::listIncomplete},
        {RemoveMissing, false, kit::nothingRemoved},
        {RemoveMissing, true, kit::nothingRemoved},
    };
    for (const Case& c : cases) {
        for (const bool objects : {false, true}) {
            load(everyPlace);
            run(c.action, false, c.keep);
            const std::string complete = saved();
            const Rows completeRows = rows();
            int32_t cutShort = 0;
            for (int64_t k = 1;; ++k) {
                SCOPED_TRACE("action " + std::to_string(entryId(c.action)) + (objects ? " object " : " allocation ") +
                             std::to_string(k));
                load(everyPlace);
                const std::string before = saved();
                objects ? host.services.failObjectCreation(k) : host.services.failAllocation(k);
                run(c.action, false, c.keep);
                const bool reached =
                    objects ? !host.services.objectCreationFailurePending() : !host.services.allocationFailurePending();
                host.services.failObjectCreation(0);
                host.services.failAllocation(0);
                if (!reached) break;
                if (boxTexts() == Texts{c.notice}) {
                    ++cutShort;
                    EXPECT_EQ(saved(), before);
                    EXPECT_EQ(host.scene.undoCount(*document), 0u);
                    EXPECT_TRUE(dialog->results.records.empty());
                } else {
                    EXPECT_EQ(boxTexts(), Texts{});
                    EXPECT_EQ(saved(), complete);
                    EXPECT_EQ(rows(), completeRows);
                }
                if (testing::Test::HasFailure()) return;
            }
            EXPECT_GT(cutShort, 0);
        }
    }
}

TEST_F(MissingPluginsTest, WhatARemovalLeavesIsListedInTheOrderAFreshSearchMeetsIt) {
    // X is met first directly in channel 0 (removed), later kept in a layer
    // shader after Y: afterwards Y comes first.
    load(R"({"plugins": [], "objects": [], "renderSettings": [], "materials": [{"name": "M", "type": 5703, "channels": {
      "0": {"shader": {"name": "X1", "type": 2000003}},
      "5": {"shader": {"name": "L", "type": 1011123, "layers": [
        {"kind": 2, "shader": {"name": "Y1", "type": 2000006}}, {"kind": 2, "shader": {"name": "X2", "type": 2000003}}]}}}}]})");
    run(FindMissing);
    EXPECT_EQ(rows(), (Rows{{"2000003", "Shader", "2", "X1"}, {"2000006", "Shader", "1", "Y1"}}));
    run(RemoveMissing, false, true);
    const Rows left = {{"2000006", "Shader", "1", "Y1"}, {"2000003", "Shader", "1", "X2"}};
    EXPECT_EQ(rows(), left);
    run(FindMissing);
    EXPECT_EQ(rows(), left);
}

TEST_F(MissingPluginsTest, ARunWhoseColumnsCannotBeMadeDoesNotStart) {
    load(everyPlace);
    const std::string before = saved();
    // The missing columns' layout is the first host object the run makes.
    host.services.failObjectCreation(1);
    run(FindMissing);
    host.services.failObjectCreation(0);
    EXPECT_EQ(boxTexts(), Texts{kit::listIncomplete});
    EXPECT_TRUE(dialog->results.records.empty());
    EXPECT_EQ(headers(), (Texts{"Object With Tag", "Tag Name"}));

    run(FindMissing);
    EXPECT_EQ(headers(), missingHeaders);
    // Back to the instance columns: a removal that cannot show its rows removes nothing.
    choose(IDC_ACTION, Remove);
    typeId(2000001);
    host.services.failObjectCreation(1);
    host.ui.messageBoxes.shown.clear();
    press(IDC_PROCESS);
    host.services.failObjectCreation(0);
    EXPECT_EQ(boxTexts(), Texts{kit::nothingRemoved});
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(host.scene.undoCount(*document), 0u);
    EXPECT_EQ(headers(), missingHeaders);
}

// A damaged scene (built in code: no file links one shader twice) can have a
// layer keep a shader that a channel of the same material also holds: it is
// counted once, the removal takes it, so the list of what stays must not
// count it, whichever of the two the walk meets first.
TEST_F(MissingPluginsTest, AShaderKeptByALayerButHeldByAChannelTooIsNotListedAsLeft) {
    for (const bool layerFirst : {true, false}) {
        SCOPED_TRACE(layerFirst ? "layer first" : "channel first");
        load(R"({"plugins": [], "objects": [], "materials": [], "renderSettings": []})");
        HostElement* material = host.scene.addMaterial(*document, "M", 5703);
        HostElement* shared = host.scene.setChannelShader(*material, layerFirst ? 5 : 0, "Shared", 2000003);
        HostElement* layers = host.scene.setChannelShader(*material, layerFirst ? 0 : 5, "Layers", 1011123);
        host.scene.addLayer(*layers, HOST_LAYER_KIND_SHADER).link = shared->id;
        host.scene.addShaderLayer(*layers, "Kept", 2000003);
        const std::string before = saved();

        run(FindMissing);
        EXPECT_EQ(rows(), (Rows{{"2000003", "Shader", "2", "Shared"}}));
        run(RemoveMissing, false, true);
        const Rows left = {{"2000003", "Shader", "1", "Kept"}};
        EXPECT_EQ(rows(), left);
        run(FindMissing);
        EXPECT_EQ(rows(), left);
        ASSERT_TRUE(host.scene.undo(*document));
        EXPECT_EQ(saved(), before);
    }
}
