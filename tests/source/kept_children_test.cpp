// A removal takes the plug-in, not the artist's work: with "Keep Children of
// Removed Objects" on, a removed object below which something stays becomes
// a Null at its place holding what stays; with it off, the subtree goes.
#include <gtest/gtest.h>

#include "dialog_session.h"
#include "expected_notices.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

// The missing generator 2000001 holds the artist's trees and rocks, a missing
// seeder holding only missing objects, and a missing brush whose rocks hold
// a missing moss that holds a stone; the generator carries a kept tag and a
// missing one (2000002).
const std::string forest = R"({
  "plugins": [],
  "objects": [
    {"name": "Ground", "type": 5168},
    {"name": "Forest Generator", "type": 2000001, "selected": true, "tags": [
      {"name": "Phong", "type": 5612},
      {"name": "Forest Data", "type": 2000002}
    ], "children": [
      {"name": "Tree A", "type": 5159, "tags": [
        {"name": "Texture", "type": 5616}
      ]},
      {"name": "Seeder", "type": 2000001, "children": [
        {"name": "Seed", "type": 2000001}
      ]},
      {"name": "Tree B", "type": 5159},
      {"name": "Brush", "type": 2000001, "children": [
        {"name": "Rocks", "type": 5140, "children": [
          {"name": "Rock", "type": 5160},
          {"name": "Moss", "type": 2000001, "selected": true, "children": [
            {"name": "Stone", "type": 5160}
          ]}
        ]}
      ]}
    ]},
    {"name": "Camera", "type": 5103}
  ],
  "materials": [],
  "renderSettings": []
}
)";

// Every missing object removed, everything else kept: the generator, the
// brush and the moss become Nulls of their names; the seeder goes whole.
const std::string forestKept = R"({
  "plugins": [],
  "objects": [
    {"name": "Ground", "type": 5168},
    {"name": "Forest Generator", "type": 5140, "selected": true, "tags": [
      {"name": "Phong", "type": 5612}
    ], "children": [
      {"name": "Tree A", "type": 5159, "tags": [
        {"name": "Texture", "type": 5616}
      ]},
      {"name": "Tree B", "type": 5159},
      {"name": "Brush", "type": 5140, "children": [
        {"name": "Rocks", "type": 5140, "children": [
          {"name": "Rock", "type": 5160},
          {"name": "Moss", "type": 5140, "selected": true, "children": [
            {"name": "Stone", "type": 5160}
          ]}
        ]}
      ]}
    ]},
    {"name": "Camera", "type": 5103}
  ],
  "materials": [],
  "renderSettings": []
}
)";

const std::string forestGone = R"({
  "plugins": [],
  "objects": [
    {"name": "Ground", "type": 5168},
    {"name": "Camera", "type": 5103}
  ],
  "materials": [],
  "renderSettings": []
}
)";

}  // namespace

class KeptChildrenTest : public DialogSession {
protected:
    void removeObjects(int32_t scope, bool keep) {
        choose(IDC_ACTION, Remove);
        check(IDC_WARN_BEFORE_DELETING, false);
        check(IDC_KEEP_CHILDREN, keep);
        choose(IDC_PLUGIN_TYPE, Object);
        choose(IDC_SCOPE, scope);
        typeId(2000001);
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
    }
    void removeMissing(bool keep) {
        choose(IDC_ACTION, Remove);
        check(IDC_WARN_BEFORE_DELETING, false);
        check(IDC_KEEP_CHILDREN, keep);
        choose(IDC_ACTION, RemoveMissing);
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
    }
    // One undo gives back the scene before, one redo the scene after, byte for byte.
    void expectOneUndoStep(const std::string& before) {
        const std::string after = saved();
        ASSERT_EQ(host.scene.undoCount(*document), 1u);
        ASSERT_TRUE(host.scene.undo(*document));
        EXPECT_EQ(saved(), before);
        ASSERT_TRUE(host.scene.redo(*document));
        EXPECT_EQ(saved(), after);
    }
};

TEST_F(KeptChildrenTest, TheBoxIsOnAtFirstRememberedAndOnlyForRemovals) {
    EXPECT_EQ(control(IDC_KEEP_CHILDREN).text, "Keep Children of Removed Objects");
    EXPECT_EQ(control(IDC_KEEP_CHILDREN).value, 1.0);
    for (const Action action : {Identify, GenerateList, Remove, FindMissing, RemoveMissing}) {
        choose(IDC_ACTION, action);
        EXPECT_EQ(control(IDC_KEEP_CHILDREN).enabled, action == Remove || action == RemoveMissing);
    }
    check(IDC_KEEP_CHILDREN, false);
    press(IDC_PROCESS);
    ASSERT_EQ(substitute::closeWindow(window()), "");
    openWindow();
    EXPECT_EQ(control(IDC_KEEP_CHILDREN).value, 0.0);
    EXPECT_FALSE(control(IDC_KEEP_CHILDREN).enabled);
}

TEST_F(KeptChildrenTest, RemoveMissingKeepsEverythingThatIsNotMissing) {
    load(forest);
    removeMissing(true);
    EXPECT_EQ(saved(), forestKept);
    EXPECT_EQ(boxTexts(), Texts{});
    // A Null is no missing plug-in: nothing is left to find.
    EXPECT_EQ(rows(), (Rows{{"No missing plugins found.", "", "", ""}}));
    removeMissing(true);
    EXPECT_EQ(saved(), forestKept);
    ASSERT_TRUE(host.scene.undo(*document));
    EXPECT_EQ(saved(), forest);
    ASSERT_TRUE(host.scene.redo(*document));
    EXPECT_EQ(saved(), forestKept);

    // With the box off the subtrees go, as they always did.
    load(forest);
    removeMissing(false);
    EXPECT_EQ(saved(), forestGone);
    expectOneUndoStep(forest);
}

// The Nulls depend on which objects are removed, never on the scope that
// chose them or the order a walk met them in.
TEST_F(KeptChildrenTest, EveryScopeOfRemovePluginReplacesWhatItRemoves) {
    // Selected: the generator and the moss inside it (overlapping). The
    // whole scene and the selection with its children remove the same
    // objects; Remove Plugin of objects leaves the tags of other plug-ins.
    const std::string objectsKept = R"({
  "plugins": [],
  "objects": [
    {"name": "Ground", "type": 5168},
    {"name": "Forest Generator", "type": 5140, "selected": true, "tags": [
      {"name": "Phong", "type": 5612},
      {"name": "Forest Data", "type": 2000002}
    ], "children": [
      {"name": "Tree A", "type": 5159, "tags": [
        {"name": "Texture", "type": 5616}
      ]},
      {"name": "Tree B", "type": 5159},
      {"name": "Brush", "type": 5140, "children": [
        {"name": "Rocks", "type": 5140, "children": [
          {"name": "Rock", "type": 5160},
          {"name": "Moss", "type": 5140, "selected": true, "children": [
            {"name": "Stone", "type": 5160}
          ]}
        ]}
      ]}
    ]},
    {"name": "Camera", "type": 5103}
  ],
  "materials": [],
  "renderSettings": []
}
)";
    for (const int32_t scope : {0, 1}) {
        SCOPED_TRACE("scope " + std::to_string(scope));
        load(forest);
        removeObjects(scope, true);
        EXPECT_EQ(saved(), objectsKept);
        EXPECT_EQ(rows(), Rows{{"Object plugin 2000001 not found."}});
        expectOneUndoStep(forest);
    }

    // The selection alone: the generator and the moss are removed, the
    // seeder and the brush inside the generator are not, so they stay with
    // what they hold.
    load(forest);
    removeObjects(2, true);
    const std::string selectionKept = R"({
  "plugins": [],
  "objects": [
    {"name": "Ground", "type": 5168},
    {"name": "Forest Generator", "type": 5140, "selected": true, "tags": [
      {"name": "Phong", "type": 5612},
      {"name": "Forest Data", "type": 2000002}
    ], "children": [
      {"name": "Tree A", "type": 5159, "tags": [
        {"name": "Texture", "type": 5616}
      ]},
      {"name": "Seeder", "type": 2000001, "children": [
        {"name": "Seed", "type": 2000001}
      ]},
      {"name": "Tree B", "type": 5159},
      {"name": "Brush", "type": 2000001, "children": [
        {"name": "Rocks", "type": 5140, "children": [
          {"name": "Rock", "type": 5160},
          {"name": "Moss", "type": 5140, "selected": true, "children": [
            {"name": "Stone", "type": 5160}
          ]}
        ]}
      ]}
    ]},
    {"name": "Camera", "type": 5103}
  ],
  "materials": [],
  "renderSettings": []
}
)";
    EXPECT_EQ(saved(), selectionKept);
    expectOneUndoStep(forest);

    // With the box off, the selected generator takes the moss along.
    load(forest);
    removeObjects(2, false);
    EXPECT_EQ(saved(), forestGone);
    expectOneUndoStep(forest);
}

// Instances below objects that stay, below instances: each removed object
// whose parent stays gets its own Null where it was.
TEST_F(KeptChildrenTest, InstancesBelowKeptObjectsBelowInstances) {
    load(R"({"plugins": [], "objects": [
      {"name": "A", "type": 2000001, "children": [
        {"name": "K", "type": 5140, "children": [
          {"name": "B", "type": 2000001, "tags": [{"name": "T", "type": 5612}], "children": [
            {"name": "C", "type": 2000001}, {"name": "K2", "type": 5159}]}]},
        {"name": "D", "type": 2000001}]},
      {"name": "E", "type": 2000001, "tags": [{"name": "Missing", "type": 2000002}]}],
     "materials": [], "renderSettings": []})");
    const std::string before = saved();
    removeMissing(true);
    EXPECT_EQ(saved(), R"({
  "plugins": [],
  "objects": [
    {"name": "A", "type": 5140, "children": [
      {"name": "K", "type": 5140, "children": [
        {"name": "B", "type": 5140, "tags": [
          {"name": "T", "type": 5612}
        ], "children": [
          {"name": "K2", "type": 5159}
        ]}
      ]}
    ]}
  ],
  "materials": [],
  "renderSettings": []
}
)");
    expectOneUndoStep(before);
}

// Every refusal of the host, at any point of a run that makes Nulls and
// moves children, leaves the scene exactly as before with the action's notice.
TEST_F(KeptChildrenTest, ARefusalAnywhereLeavesTheSceneAsBefore) {
    struct Refusal {
        const char* what;
        void (substitute::KernelServices::*fail)(int64_t);
        bool (substitute::KernelServices::*pending)() const;
    };
    const Refusal refusals[] = {
        {"undo", &substitute::KernelServices::failUndo, &substitute::KernelServices::undoFailurePending},
        {"object", &substitute::KernelServices::failObjectCreation,
         &substitute::KernelServices::objectCreationFailurePending},
        {"allocation", &substitute::KernelServices::failAllocation,
         &substitute::KernelServices::allocationFailurePending},
    };
    for (const bool missing : {true, false}) {
        for (const Refusal& refusal : refusals) {
            int32_t refused = 0;
            for (int64_t k = 1;; ++k) {
                SCOPED_TRACE(std::string(refusal.what) + " " + std::to_string(k) + (missing ? " missing" : " objects"));
                load(forest);
                (host.services.*refusal.fail)(k);
                missing ? removeMissing(true) : removeObjects(0, true);
                const bool reached = !(host.services.*refusal.pending)();
                (host.services.*refusal.fail)(0);
                if (!reached) break;
                if (saved() == forest) {
                    ++refused;
                    EXPECT_EQ(host.scene.undoCount(*document), 0u);
                    const char* notice = refusal.fail == &substitute::KernelServices::failUndo ? kit::undoRefusedText
                                                                                               : kit::nothingRemoved;
                    EXPECT_EQ(boxTexts(), Texts{notice});
                    // Out of memory no counts are shown; a refused undo leaves the list of what is still missing.
                    if (missing && notice == kit::nothingRemoved) {
                        EXPECT_TRUE(dialog->results.records.empty());
                    } else if (missing) {
                        EXPECT_EQ(rows().size(), 2u);
                    }
                    EXPECT_EQ(host.scene.moduleObjects(), 0);
                } else {
                    EXPECT_EQ(boxTexts(), Texts{});
                }
                if (testing::Test::HasFailure()) return;
            }
            EXPECT_GT(refused, 0);
        }
    }
}
