// Materials as plug-in instances: a render engine's material carries the
// engine's id as its type. Listed, removed whole and identified like the
// other types, with the whole scene or the selected materials.
#include <gtest/gtest.h>

#include "dialog_session.h"
#include "scene_file/scene_file.h"
#include "search_fixture.h"

namespace {
using Strings = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;
}  // namespace

// Three instances side by side around one of the application's own
// materials, the first and the last selected; each holds shaders that go
// with it.
class MaterialInstancesTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        for (const char* name : {"E1", "Own", "E2", "E3"}) {
            HostElement* material = scene().addMaterial(*document, name, name[0] == 'E' ? kPlugin : 5703);
            scene().setChannelShader(*material, 0, std::string(name) + " colour", 5832);
            HostElement* layers = scene().setChannelShader(*material, 5, "layers", kLayerShader);
            scene().addShaderLayer(*layers, "inner", kPlugin);
            material->selected = name == std::string("E1") || name == std::string("E3");
        }
    }
};

TEST_F(MaterialInstancesTest, ListedAndRemovedWholeInTheWholeSceneOrTheSelection) {
    run(Material, GenerateList);
    EXPECT_EQ(rows(), (Strings{"0 E1", "1 E2", "2 E3"}));
    run(Material, GenerateList, kPlugin, 2);
    EXPECT_EQ(rows(), (Strings{"0 E1", "1 E3"}));
    run(Material, GenerateList, 5703);  // the application's own material is an instance of its own type
    EXPECT_EQ(rows(), (Strings{"0 Own"}));
    run(Material, GenerateList, 0);
    EXPECT_EQ(rows(), Strings{"0 Material plugin 0 not found."});

    const Strings before = describe();
    run(Material, Remove, kPlugin, 2);
    EXPECT_EQ(undoSteps(), (Strings{"E1", "E3"}));
    EXPECT_EQ(rows(), Strings{"0 Material plugin 1234 not found."});
    EXPECT_TRUE(boxes().empty());
    expectUndoRedo(before);
    ASSERT_TRUE(scene().undo(*document));

    // The whole scene: every instance with what it holds, nothing else; the
    // shaders of the same id inside them are not removed on their own.
    run(Material, Remove);
    EXPECT_EQ(undoSteps(), (Strings{"E1", "E2", "E3"}));
    EXPECT_EQ(describe(), (Strings{"objects:", "materials:", "  Own [5703]", "    channel 0", "      Own colour [5832]",
                                   "    channel 5", "      layers [1011123]", "        layer 1 (kind 2)",
                                   "          inner [1234]", "render settings:"}));
    EXPECT_EQ(document->undo.done.size(), 1u);  // the selection's removal was undone
    expectUndoRedo(before);
}

// The dialog's side: Identify, the list's column, the double-click, and a
// removed material that owned a shader another material holds.
class MaterialDialogTest : public DialogSession {
protected:
    std::string identify(int32_t id) {
        choose(IDC_ACTION, Identify);
        typeId(id);
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
        return boxTexts().empty() ? std::string() : boxTexts().back();
    }
};

TEST_F(MaterialDialogTest, IdentifyTriesMaterialsLastAndNamesTheFirstInDocumentOrder) {
    load(R"({"plugins": [{"id": 3000001, "kind": 2, "name": "Engine Material"}], "objects": [
      {"name": "Cube", "type": 5159, "tags": [{"name": "Both", "type": 3000002}]}],
     "materials": [
      {"name": "Plain", "type": 5703},
      {"name": "First", "type": 2000001, "channels": {"0": {"shader": {"name": "Inner", "type": 2000002}}}},
      {"name": "Second", "type": 2000001},
      {"name": "Registered", "type": 3000001},
      {"name": "Shared", "type": 3000002}],
     "renderSettings": []})");
    EXPECT_EQ(identify(2000001), "Plugin 2000001 is a Material plugin with the default name First.");
    EXPECT_EQ(identify(3000001), "Plugin 3000001 is a Material plugin with the default name Engine Material.");
    // Every other type comes first.
    EXPECT_EQ(identify(2000002), "Plugin 2000002 is a Shader plugin with the default name Inner.");
    EXPECT_EQ(identify(3000002), "Plugin 3000002 is a Tag plugin with the default name Both.");
}

TEST_F(MaterialDialogTest, TheListNamesTheMaterialsAndADoubleClickMakesOneActive) {
    load(R"({"plugins": [], "objects": [], "renderSettings": [], "materials": [
      {"name": "Engine A", "type": 2000001}, {"name": "Plain", "type": 5703, "selected": true},
      {"name": "Engine B", "type": 2000001}]})");
    listInstances(Material, 2000001);
    EXPECT_EQ(headers(), Strings{"Material"});
    EXPECT_EQ(rows(), (Rows{{"Engine A"}, {"Engine B"}}));
    ASSERT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, 1, COLUMN_NAME), "");
    ASSERT_NE(host.scene.activeMaterial(*document), nullptr);
    EXPECT_EQ(host.scene.activeMaterial(*document)->name, "Engine B");

    // A material gone since the list was made is not made active.
    ASSERT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, 0, COLUMN_NAME), "");
    EXPECT_EQ(host.scene.activeMaterial(*document)->name, "Engine A");
    choose(IDC_ACTION, Remove);
    check(IDC_WARN_BEFORE_DELETING, false);
    choose(IDC_SCOPE, 0);
    typeId(2000001);
    press(IDC_PROCESS);
    EXPECT_EQ(rows(), Rows{{"Material plugin 2000001 not found."}});
    EXPECT_EQ(document->materials.first->name, "Plain");
    EXPECT_EQ(document->materials.first->next, nullptr);
}

// A removed material may own a reflectance shader that another material
// holds: the saved scene says it is owned by nothing, which loads again, and
// Undo gives the owner back.
TEST_F(MaterialDialogTest, AShaderWhoseOwnerWasRemovedIsSavedAsOwnedByNothing) {
    const std::string scene = R"({
  "plugins": [],
  "objects": [],
  "materials": [
    {"name": "Engine", "type": 2000001},
    {"name": "Holder", "type": 5703, "channels": {
      "3": {"reflectance": [
        {"name": "Borrowed", "type": 2000002, "owner": "Engine"}
      ]}
    }}
  ],
  "renderSettings": []
}
)";
    load(scene);
    ASSERT_EQ(saved(), scene);
    choose(IDC_ACTION, Remove);
    check(IDC_WARN_BEFORE_DELETING, false);
    choose(IDC_PLUGIN_TYPE, Material);
    typeId(2000001);
    press(IDC_PROCESS);
    const std::string after = saved();
    EXPECT_NE(after.find(R"({"name": "Borrowed", "type": 2000002, "owner": null})"), std::string::npos) << after;
    EXPECT_EQ(after.find("Engine"), std::string::npos);
    const substitute::SceneLoad reloaded = substitute::loadScene(host.scene, after);
    ASSERT_NE(reloaded.document, nullptr) << reloaded.error;
    EXPECT_EQ(substitute::saveScene(host.scene, *reloaded.document), after);
    host.scene.closeDocument(reloaded.document);

    ASSERT_TRUE(host.scene.undo(*document));
    EXPECT_EQ(saved(), scene);
    ASSERT_TRUE(host.scene.redo(*document));
    EXPECT_EQ(saved(), after);
}
