// A removal the host cannot record for undo removes nothing: a refused start
// of the group, a refused step or a refused end leaves the scene exactly as
// it was, no undo entry, and one notice that says so.
#include <gtest/gtest.h>

#include "dialog_session.h"
#include "expected_notices.h"
#include "render_engine_scene.h"

namespace {

using Texts = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

// Instances of 1234 of every kind side by side (so that putting them back
// must keep their order) and one inside another: tags on a selected object
// and its child, shaders in a channel and in a layer shader, nested objects,
// adjacent video posts.
const char* const sideBySide = R"({
  "objects": [
    {"name": "Group", "type": 5140, "selected": true, "tags": [
      {"name": "T1", "type": 1234}, {"name": "Phong", "type": 5612}, {"name": "T2", "type": 1234},
      {"name": "T3", "type": 1234}],
     "children": [
      {"name": "O1", "type": 1234, "tags": [{"name": "T4", "type": 1234}],
       "children": [{"name": "O2", "type": 1234}, {"name": "Cube", "type": 5159}, {"name": "O3", "type": 1234}]}]},
    {"name": "O4", "type": 1234, "selected": true}
  ],
  "materials": [
    {"name": "M", "type": 5703, "selected": true, "channels": {
      "0": {"shader": {"name": "S1", "type": 1234}},
      "10": {"shader": {"name": "Layer", "type": 1011123, "layers": [
        {"kind": 2, "shader": {"name": "S2", "type": 1234}}, {"kind": 2, "shader": {"name": "S3", "type": 1234}}]}}}}
  ],
  "renderSettings": [
    {"name": "Main", "active": true, "videoPosts": [
      {"name": "V1", "type": 1234}, {"name": "V2", "type": 1234}, {"name": "AO", "type": 300001}]}
  ]
})";

const Texts undoRefused = {kit::undoRefusedText};

struct Removal {
    PluginType type;
    int32_t scope;
};
constexpr Removal everyRemoval[] = {{Tag, 0},    {Tag, 1},    {Tag, 2},    {Shader, 0},    {Shader, 2},
                                    {Object, 0}, {Object, 1}, {Object, 2}, {PostEffect, 0}};

}  // namespace

class RefusedUndoTest : public DialogSession {
protected:
    void SetUp() override { load(sideBySide); }

    void remove(Action action, PluginType type = Tag, int32_t scope = 0) {
        choose(IDC_ACTION, Remove);
        check(IDC_WARN_BEFORE_DELETING, false);
        choose(IDC_PLUGIN_TYPE, type);
        choose(IDC_SCOPE, scope);
        typeId(1234);
        choose(IDC_ACTION, action);
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
    }
    // Undo requests a run makes with every one granted.
    int64_t undoRequestsOf(Action action, PluginType type, int32_t scope) {
        const int64_t before = host.services.undoRequests();
        const std::string scene = saved();
        remove(action, type, scope);
        const int64_t made = host.services.undoRequests() - before;
        EXPECT_NE(saved(), scene) << "the run removes something";
        EXPECT_TRUE(host.scene.undo(*document));
        EXPECT_EQ(saved(), scene);
        return made;
    }
    // Refuses each undo request of the run in turn: first the start of the
    // group, then each step, then its end.
    // listed: what the list shows after each refusal.
    void expectEveryRefusalRemovesNothing(Action action, PluginType type, int32_t scope, const Rows& listed) {
        const int64_t requests = undoRequestsOf(action, type, scope);
        ASSERT_GE(requests, 3);
        const std::string scene = saved();
        const size_t entries = host.scene.undoCount(*document);
        for (int64_t k = 1; k <= requests; ++k) {
            SCOPED_TRACE("undo request " + std::to_string(k) + " of " + std::to_string(requests));
            host.services.failUndo(k);
            remove(action, type, scope);
            EXPECT_FALSE(host.services.undoFailurePending());
            EXPECT_EQ(saved(), scene);
            EXPECT_EQ(host.scene.undoCount(*document), entries);
            EXPECT_EQ(boxTexts(), undoRefused);
            EXPECT_EQ(rows(), listed);
        }
        // And with the host granting everything again, the same run removes.
        remove(action, type, scope);
        EXPECT_NE(saved(), scene);
        EXPECT_TRUE(host.scene.undo(*document));
        EXPECT_EQ(saved(), scene);
    }
};

TEST_F(RefusedUndoTest, ARemovalOfEveryKindAndScopeRemovesNothingWithoutItsUndo) {
    for (const Removal& removal : everyRemoval) {
        SCOPED_TRACE("type " + std::to_string(entryId(removal.type)) + " scope " + std::to_string(removal.scope));
        // Nothing kept is listed: nothing was removed.
        expectEveryRefusalRemovesNothing(Remove, removal.type, removal.scope, Rows{});
    }
}

TEST_F(RefusedUndoTest, RemoveMissingPluginsRemovesNothingAndKeepsItsListWithoutItsUndo) {
    // Nothing was removed, so every missing plug-in is still there.
    expectEveryRefusalRemovesNothing(RemoveMissing, Tag, 0,
                                     Rows{{"1234", "Tag", "4", "T1"},
                                          {"1234", "Shader", "3", "S1"},
                                          {"1234", "Object", "4", "O2"},
                                          {"1234", "Post Effect", "2", "V1"}});
}

// A run that removes nothing needs no undo: a refused start or end of its
// group changes nothing it shows and leaves no entry behind.
TEST_F(RefusedUndoTest, RunsThatRemoveNothingGoThroughWhenUndoIsRefused) {
    listInstances(Tag, 1234);
    const auto listed = rows();
    ASSERT_EQ(listed.size(), 4u);
    for (int64_t k : {1, 2}) {
        SCOPED_TRACE("undo request " + std::to_string(k));
        host.services.failUndo(k);
        listInstances(Tag, 1234);
        EXPECT_EQ(rows(), listed);
        host.services.failUndo(k);
        choose(IDC_ACTION, Remove);
        check(IDC_WARN_BEFORE_DELETING, false);
        choose(IDC_PLUGIN_TYPE, PostEffect);
        typeId(999);
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
        EXPECT_FALSE(host.services.undoFailurePending());
        EXPECT_EQ(boxTexts(), Texts{});
        EXPECT_EQ(rows(), (Rows{{"VP plugin 999 not found."}}));
        EXPECT_EQ(host.scene.undoCount(*document), 0u);
    }
}

// Materials removed whole and the video posts of every render settings, side
// by side with what stays: put back in their places, or not removed at all.
TEST_F(RefusedUndoTest, MaterialsAndEveryRenderSettingsRemoveNothingWithoutTheirUndo) {
    load(kit::renderEngineScene(1234));
    for (const Removal& removal : {Removal{Material, 0}, Removal{Material, 2}, Removal{PostEffect, 3}}) {
        SCOPED_TRACE("type " + std::to_string(entryId(removal.type)) + " scope " + std::to_string(removal.scope));
        expectEveryRefusalRemovesNothing(Remove, removal.type, removal.scope, Rows{});
    }
    expectEveryRefusalRemovesNothing(
        RemoveMissing, Tag, 0,
        Rows{{"1234", "Shader", "8", "c"}, {"1234", "Post Effect", "4", "P1"}, {"1234", "Material", "3", "E1"}});
}
