// The shaders of every element: scope "All Elements" of the Shader type,
// Identify's look past the materials' channels, Find and Remove Missing
// Plugins over every shader, removals taking owned shaders along, and the
// double-click on a row of an owned shader.
#include <gtest/gtest.h>

#include "dialog_session.h"
#include "expected_notices.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

// Shader 1234 (missing) on every kind of owner: in a channel with one below
// it, in a layer shader's layer and below it unlinked, owned by the
// material, by an object (below an installed shader, itself holding one:
// three deep), by a child object (holding an installed shader), by a tag
// and by video posts of the active and of another render settings.
const char* const everyOwner = R"({
  "objects": [
    {"name": "Group", "type": 5140, "tags": [
      {"name": "Tex", "type": 5616, "shaders": [{"name": "TagShader", "type": 1234}]}],
     "shaders": [{"name": "Noise", "type": 1011116, "shaders": [
       {"name": "Inner", "type": 1234, "shaders": [{"name": "Deepest", "type": 1234}]}]}],
     "children": [{"name": "Cube", "type": 5159, "shaders": [
       {"name": "Top", "type": 1234, "shaders": [{"name": "Plain", "type": 1011116}]}]}]}
  ],
  "materials": [
    {"name": "Mat", "type": 5703, "channels": {
      "0": {"shader": {"name": "Ch", "type": 1234, "shaders": [{"name": "ChBelow", "type": 1234}]}},
      "6": {"shader": {"name": "Layers", "type": 1011123, "layers": [{"kind": 2, "shader": {"name": "L1", "type": 1234}}],
            "shaders": [{"name": "Orphan", "type": 1234}]}}},
     "shaders": [{"name": "MatOwn", "type": 1234}]}
  ],
  "renderSettings": [
    {"name": "Main", "active": true, "videoPosts": [
      {"name": "Glow", "type": 300001, "shaders": [{"name": "PostShader", "type": 1234}]}]},
    {"name": "Other", "videoPosts": [{"name": "Hidden", "type": 300001, "shaders": [{"name": "HiddenShader", "type": 1234}]}]}
  ]
})";

const Texts everyElementHeaders = {"Owner", "Owner Type", "Channel", "In Layer Shader?"};
// Materials first (channels as scope 0 walks them, each shader followed by
// those below it, then the material's own), objects in post-order (each
// with its own, then its tags'), then the video posts of every render settings.
const Rows everyOwnerRows = {
    {"Mat", "Material", "Color", "No"}, {"Mat", "Material", "Color", "No"},  {"Mat", "Material", "Bump", "Yes"},
    {"Mat", "Material", "Bump", "No"},  {"Mat", "Material", "", "No"},       {"Cube", "Object", "", "No"},
    {"Group", "Object", "", "No"},      {"Group", "Object", "", "No"},       {"Tex", "Tag", "", "No"},
    {"Glow", "Post Effect", "", "No"},  {"Hidden", "Post Effect", "", "No"},
};

class EveryShaderTest : public DialogSession {
protected:
    void run(Action action, int32_t scope, double id = 1234, bool keepLayerShaders = false) {
        choose(IDC_ACTION, Remove);  // the check boxes can be set under a removal only
        check(IDC_WARN_BEFORE_DELETING, false);
        check(IDC_KEEP_LAYER_SHADERS, keepLayerShaders);
        choose(IDC_ACTION, action);
        if (!searchesMissing(action)) {
            choose(IDC_PLUGIN_TYPE, Shader);
            choose(IDC_SCOPE, scope);
        }
        typeId(id);
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
    }
    void doubleClick(int32_t row) { ASSERT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, row, COLUMN_NAME), ""); }
    std::string activeObject() {
        const HostElement* active = host.scene.activeObject(*document);
        return active ? active->name : "";
    }
    std::string activeMaterial() {
        const HostElement* active = host.scene.activeMaterial(*document);
        return active ? active->name : "";
    }
};

TEST_F(EveryShaderTest, AllElementsListsEveryShaderInWalkOrderAndTheOtherScopesStayAsTheyWere) {
    load(everyOwner);
    run(GenerateList, 3);
    EXPECT_EQ(headers(), everyElementHeaders);
    EXPECT_EQ(rows(), everyOwnerRows);
    // The materials' channels only, as before.
    run(GenerateList, 0);
    EXPECT_EQ(headers(), (Texts{"Material", "Channel", "In Layer Shader?"}));
    EXPECT_EQ(rows(), (Rows{{"Mat", "Color", "No"}, {"Mat", "Bump", "Yes"}}));
    host.scene.makeActive(*document, *host.scene.elementById(document->materials.first->id));
    run(GenerateList, 2);
    EXPECT_EQ(rows(), (Rows{{"Mat", "Color", "No"}, {"Mat", "Bump", "Yes"}}));
    // The Material type keeps its two scopes.
    choose(IDC_PLUGIN_TYPE, Material);
    EXPECT_EQ(control(IDC_SCOPE).entries.size(), 2u);
}

TEST_F(EveryShaderTest, RemovalTakesEachOnceWithWhatLiesBelowItAsOneUndoStep) {
    struct Case {
        bool keepLayerShaders;
        Rows left;
        Texts boxes;
    } cases[] = {
        {false, {{"Shader plugin 1234 not found.", "", "", ""}}, {}},
        {true,
         {{"Mat", "Material", "Bump", "Yes"}},
         {"Please note that not all shaders were deleted.\nIt is possible that these are within a Layer shader.\nIf "
          "so, these will be listed in the shader list."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keepLayerShaders ? "layer shaders kept" : "all removed");
        load(everyOwner);
        const std::string before = saved();
        run(Remove, 3, 1234, c.keepLayerShaders);
        EXPECT_EQ(rows(), c.left);
        EXPECT_EQ(boxTexts(), c.boxes);
        ASSERT_EQ(document->undo.done.size(), 1u);
        // Each removed once: those below a removed one went with it.
        EXPECT_EQ(document->undo.done.back().steps.size(), c.keepLayerShaders ? 8u : 9u);
        run(GenerateList, 3);
        EXPECT_EQ(rows().size(), c.left.size());
        ASSERT_TRUE(host.scene.undo(*document));
        EXPECT_EQ(saved(), before);
    }
}

TEST_F(EveryShaderTest, IdentifyLooksAtEveryShaderWhenTheChannelsHoldNone) {
    struct Case {
        const char* scene;
        const char* notice;
    } cases[] = {
        {R"({"objects": [{"name": "Deformer", "type": 5100, "shaders": [{"name": "Falloff", "type": 1234}]}]})",
         "Plugin 1234 is a Shader plugin with the default name Falloff."},
        {R"({"renderSettings": [{"name": "R", "videoPosts": [{"name": "V", "type": 300001, "shaders": [
             {"name": "A", "type": 1011116, "shaders": [{"name": "Below", "type": 1234}]}]}]}]})",
         "Plugin 1234 is a Shader plugin with the default name Below."},
        // The channel's instance decides, as before.
        {R"({"objects": [{"name": "O", "type": 5159, "shaders": [{"name": "Owned", "type": 1234}]}],
             "materials": [{"name": "M", "type": 5703, "channels": {"0": {"shader": {"name": "InChannel", "type": 1234}}}}]})",
         "Plugin 1234 is a Shader plugin with the default name InChannel."},
        {R"({"objects": [{"name": "O", "type": 5159}]})",
         "Plugin 1234 could not be identifed. Try searching the internet for the plugin ID value or name."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scene);
        load(c.scene);
        choose(IDC_ACTION, Identify);
        typeId(1234);
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
        EXPECT_EQ(boxTexts(), Texts{c.notice});
    }
}

TEST_F(EveryShaderTest, MissingPluginsCountEveryShaderOnceAndRemoveThemAll) {
    load(everyOwner);
    const std::string before = saved();
    run(FindMissing, 0);
    const Rows found = {{"1234", "Shader", "11", "Ch"}};
    EXPECT_EQ(rows(), found);
    // Its double-click lists them with All Elements: as many rows as it counts.
    doubleClick(0);
    EXPECT_EQ(control(IDC_SCOPE).value, 3);
    EXPECT_EQ(rows(), everyOwnerRows);

    run(RemoveMissing, 0);
    EXPECT_EQ(rows(), (Rows{{kit::noMissingPlugins, "", "", ""}}));
    EXPECT_EQ(saved().find("1234"), std::string::npos);
    run(FindMissing, 0);
    EXPECT_EQ(rows(), (Rows{{kit::noMissingPlugins, "", "", ""}}));
    ASSERT_TRUE(host.scene.undo(*document));
    EXPECT_EQ(saved(), before);
}

// A missing shader below an installed one and the reverse; a missing shader
// holding a layer shader whose layer holds a kept one (it goes whole), beside
// an installed layer shader that keeps one (it stays, and is listed as left).
TEST_F(EveryShaderTest, WhatAMissingShaderHoldsGoesWithItAndKeptShadersStayListed) {
    load(R"({"objects": [{"name": "O", "type": 5159, "shaders": [
        {"name": "Gone", "type": 2000009, "shaders": [{"name": "LS", "type": 1011123, "layers": [
          {"kind": 2, "shader": {"name": "KeptInGone", "type": 2000010}}]}]},
        {"name": "Stays", "type": 1011123, "layers": [{"kind": 2, "shader": {"name": "Kept", "type": 2000010}}]},
        {"name": "Installed", "type": 1011116, "shaders": [{"name": "Below", "type": 2000009}]}]}]})");
    const std::string before = saved();
    run(FindMissing, 0);
    EXPECT_EQ(rows(), (Rows{{"2000009", "Shader", "2", "Gone"}, {"2000010", "Shader", "2", "KeptInGone"}}));
    run(RemoveMissing, 0, 0, true);
    EXPECT_EQ(rows(), (Rows{{"2000010", "Shader", "1", "Kept"}}));
    const std::string after = saved();
    EXPECT_EQ(after.find("Gone"), std::string::npos);
    EXPECT_EQ(after.find("Below"), std::string::npos);
    EXPECT_NE(after.find("Installed"), std::string::npos);
    ASSERT_TRUE(host.scene.undo(*document));
    EXPECT_EQ(saved(), before);
}

// Kept shaders that tags and objects hold, below a removed object: with the
// children of removed objects kept they stay (a removed object's tag moves
// into its Null; a removed object without children gets none and takes its
// tags along), else they go with the object above them; the removal's list
// does not count what went.
TEST_F(EveryShaderTest, KeptShadersGoWithTheObjectsAboveThemUnlessChildrenAreKept) {
    const char* const scene = R"({"objects": [{"name": "Gen", "type": 2000004, "tags": [
        {"name": "Tex", "type": 5616, "shaders": [{"name": "LS", "type": 1011123, "layers": [
          {"kind": 2, "shader": {"name": "OnTag", "type": 2000010}}]}]}],
      "children": [{"name": "Kid", "type": 5159, "shaders": [{"name": "LS", "type": 1011123, "layers": [
          {"kind": 2, "shader": {"name": "OnKid", "type": 2000010}}]}], "children": [
        {"name": "Grandchild", "type": 5159, "tags": [{"name": "Tex", "type": 5616, "shaders": [
          {"name": "LS", "type": 1011123, "layers": [{"kind": 2, "shader": {"name": "Deep", "type": 2000010}}]}]}]}]}]},
      {"name": "Plain", "type": 5159, "shaders": [{"name": "LS", "type": 1011123, "layers": [
          {"kind": 2, "shader": {"name": "Stays", "type": 2000010}}]}]},
      {"name": "Childless", "type": 2000004, "tags": [{"name": "Tex", "type": 5616, "shaders": [
          {"name": "LS", "type": 1011123, "layers": [{"kind": 2, "shader": {"name": "NoNull", "type": 2000010}}]}]}]}]})";
    const struct {
        bool keepChildren;
        Rows left;
        size_t keptInstances;
    } cases[] = {
        {true, {{"2000010", "Shader", "4", "Deep"}}, 4},
        {false, {{"2000010", "Shader", "1", "Stays"}}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keepChildren ? "children kept" : "children not kept");
        load(scene);
        const std::string before = saved();
        choose(IDC_ACTION, Remove);
        check(IDC_KEEP_CHILDREN, c.keepChildren);
        run(RemoveMissing, 0, 0, true);
        EXPECT_EQ(rows(), c.left);
        size_t kept = 0;
        for (size_t at = saved().find("2000010"); at != std::string::npos; at = saved().find("2000010", at + 1)) ++kept;
        EXPECT_EQ(kept, c.keptInstances);
        // What a fresh search finds is what the removal's list said.
        run(FindMissing, 0);
        EXPECT_EQ(rows(), c.left);
        ASSERT_TRUE(host.scene.undo(*document));
        EXPECT_EQ(saved(), before);
    }
}

// The Null that keeps a removed object's children and tags does not keep
// the object's own shaders, which were its plug-in's; a kept tag keeps its own.
TEST_F(EveryShaderTest, TheNullThatKeepsChildrenKeepsNoneOfTheObjectsShaders) {
    load(R"({"objects": [{"name": "Gen", "type": 2000004, "tags": [
        {"name": "Tex", "type": 5616, "shaders": [{"name": "TagNoise", "type": 1011116}]}],
      "shaders": [{"name": "Own", "type": 1011116}], "children": [{"name": "Kid", "type": 5159}]}]})");
    const std::string before = saved();
    run(RemoveMissing, 0);
    EXPECT_EQ(saved(), R"({
  "plugins": [],
  "objects": [
    {"name": "Gen", "type": 5140, "tags": [
      {"name": "Tex", "type": 5616, "shaders": [
        {"name": "TagNoise", "type": 1011116}
      ]}
    ], "children": [
      {"name": "Kid", "type": 5159}
    ]}
  ],
  "materials": [],
  "renderSettings": []
}
)");
    ASSERT_TRUE(host.scene.undo(*document));
    EXPECT_EQ(saved(), before);
}

// A row of an owned shader does what a row of its owner's type does, and
// only while its owner is still what the row says.
TEST_F(EveryShaderTest, DoubleClickActsAsARowOfTheOwnersTypeFreshAndStale) {
    load(everyOwner);
    run(GenerateList, 3);
    struct Click {
        int32_t row;
        const char* object;
        const char* material;
    } fresh[] = {{0, "", "Mat"}, {5, "Cube", "Mat"}, {8, "Group", "Mat"}, {9, "Group", "Mat"}};
    for (const Click& click : fresh) {
        SCOPED_TRACE(click.row);
        doubleClick(click.row);
        EXPECT_EQ(activeObject(), click.object);
        EXPECT_EQ(activeMaterial(), click.material);
    }
    // Cube gone, Group renamed: their rows select nothing any more.
    HostElement* group = document->objects.first;
    host.scene.freeElement(substitute::asObject(*group).children.first);
    group->name = "Renamed";
    host.scene.makeActive(*document, *host.scene.addObject(*document, nullptr, "Other", 5159));
    for (const int32_t row : {5, 6, 8}) {
        SCOPED_TRACE(row);
        doubleClick(row);
        EXPECT_EQ(activeObject(), "Other");
    }
}

}  // namespace
