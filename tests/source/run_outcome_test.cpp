// What a Process run tells the user is true: Identify searches the whole
// scene, and a run the host's memory cuts short says so, adds no not-found
// row and, for a removal, leaves the scene as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "deep_scene.h"
#include "dialog_session.h"
#include "expected_notices.h"
#include "read_file.h"
#include "render_engine_scene.h"
#include "scene_file/scene_file.h"

namespace {

using Texts = std::vector<std::string>;

const std::string exampleScene =
    kit::readFile(std::filesystem::path(CLEARTRACE_SOURCE_DIR) / "example_scenes" / "legacy_plugins.json");

// The deep scene's plug-in.
constexpr int32_t deepId = 1234567;

struct Session {
    Action action;
    PluginType pluginType;
    int32_t scope;
    bool keepLayerShaders;
    int32_t id;
    bool keepChildren = true;
};

// Every plug-in type with every entry of its scope box.
struct Choice {
    PluginType type;
    int32_t scope;
};
constexpr Choice everyTypeAndScope[] = {{Tag, 0},        {Tag, 1},        {Tag, 2},      {Shader, 0},
                                        {Shader, 2},     {Object, 0},     {Object, 1},   {Object, 2},
                                        {PostEffect, 0}, {PostEffect, 3}, {Material, 0}, {Material, 2}};

// The kind of host request a sweep refuses.
enum class Refused { Allocation, Object, String, Undo };

// What a run left: the saved scene, the boxes and the rows.
struct Outcome {
    std::string scene;
    Texts boxes;
    Texts rows;
};

}  // namespace

class RunOutcomeTest : public DialogSession {
protected:
    void setUp(const Session& s) {
        choose(IDC_ACTION, Remove);
        choose(IDC_PLUGIN_TYPE, s.pluginType);
        choose(IDC_SCOPE, s.scope);
        check(IDC_WARN_BEFORE_DELETING, false);
        check(IDC_KEEP_LAYER_SHADERS, s.keepLayerShaders);
        check(IDC_KEEP_CHILDREN, s.keepChildren);
        typeId(s.id);
        choose(IDC_ACTION, s.action);
    }

    void refuse(Refused what, int64_t k) {
        host.services.failAllocation(what == Refused::Allocation ? k : 0);
        host.services.failObjectCreation(what == Refused::Object ? k : 0);
        host.services.failStringCreation(what == Refused::String ? k : 0);
        host.services.failUndo(what == Refused::Undo ? k : 0);
    }
    bool refusalReached(Refused what) const {
        const substitute::KernelServices& services = host.services;
        switch (what) {
            case Refused::Allocation: return !services.allocationFailurePending();
            case Refused::Object: return !services.objectCreationFailurePending();
            case Refused::String: return !services.stringCreationFailurePending();
            default: return !services.undoFailurePending();
        }
    }
    // Undo then redo give back the scene before the run and the scene it left.
    void expectUndoAndRedo(const std::string& before, const std::string& after) {
        if (host.scene.undoCount(*document) == 0) {
            EXPECT_EQ(after, before) << "a change without its undo";
            return;
        }
        EXPECT_EQ(host.scene.undoCount(*document), 1u);
        ASSERT_TRUE(host.scene.undo(*document));
        EXPECT_EQ(substitute::saveScene(host.scene, *document), before);
        ASSERT_TRUE(host.scene.redo(*document));
        EXPECT_EQ(substitute::saveScene(host.scene, *document), after);
    }

    Outcome process() {
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
        Outcome outcome{substitute::saveScene(host.scene, *document), boxTexts(), {}};
        for (const ResultRecord& record : dialog->results.records) outcome.rows.emplace_back(record.name.view());
        return outcome;
    }

    // Refuses the k-th request of one kind of the session's Process, for
    // k = 1, 2, ... until a run gets through without reaching the refusal.
    // Each run leaves the scene as before or as after a run with memory, and
    // undo and redo give back both; a run cut short shows its one notice
    // (refused undo: the notice that says so) and no not-found row; a refused
    // string may leave no notice at all when the notice itself was refused.
    // Answers how many runs were cut short.
    int32_t sweep(const std::string& json, const Session& s, Refused what) {
        int32_t cutShortRuns = 0;
        load(json);
        setUp(s);
        const std::string before = substitute::saveScene(host.scene, *document);
        const Outcome complete = process();
        EXPECT_TRUE(std::find(complete.boxes.begin(), complete.boxes.end(), kit::outOfMemoryTexts[entryId(s.action)]) ==
                    complete.boxes.end());
        for (int64_t k = 1;; ++k) {
            SCOPED_TRACE("failing request " + std::to_string(k));
            load(json);
            const int64_t liveObjects = host.services.liveObjects();
            refuse(what, k);
            const Outcome outcome = process();
            const bool reached = refusalReached(what);
            refuse(what, 0);
            EXPECT_EQ(host.services.liveObjects(), liveObjects);
            expectUndoAndRedo(before, outcome.scene);
            if (!reached) {
                EXPECT_EQ(outcome.scene, complete.scene);
                EXPECT_EQ(outcome.boxes, complete.boxes);
                EXPECT_EQ(outcome.rows, complete.rows);
                break;
            }
            const char* notice =
                what == Refused::Undo ? kit::undoRefusedText : kit::outOfMemoryTexts[entryId(s.action)];
            const bool cutShort =
                outcome.boxes == Texts{notice} || (what == Refused::String && outcome.boxes.empty() &&
                                                   complete.scene != before && outcome.scene == before);
            if (cutShort) {
                ++cutShortRuns;
                EXPECT_EQ(outcome.scene, before);
                EXPECT_EQ(host.scene.undoCount(*document), 0u);
                for (const std::string& row : outcome.rows) {
                    EXPECT_EQ(row.find(" not found."), std::string::npos) << row;
                }
            } else {
                EXPECT_EQ(outcome.scene, complete.scene);
                EXPECT_EQ(outcome.boxes, complete.boxes);
                EXPECT_EQ(outcome.rows, complete.rows);
            }
            if (testing::Test::HasFailure()) break;  // one broken run tells enough
        }
        return cutShortRuns;
    }
};

TEST_F(RunOutcomeTest, IdentifySearchesTheWholeSceneAndTheScopeBoxKeepsItsValue) {
    load(exampleScene);
    // Selected Objects Only, held over from an earlier run; the plug-in's
    // object is not selected.
    setUp({Identify, Object, 2, false, 1050004});
    EXPECT_EQ(process().boxes, Texts{"Plugin 1050004 is an Object plugin with the default name Scatter Cloner."});
    EXPECT_EQ(control(IDC_SCOPE).value, 2.0);
    EXPECT_EQ(dialog->scope, 2);

    // The kept scope serves the next Generate List.
    choose(IDC_ACTION, GenerateList);
    EXPECT_EQ(process().rows, Texts{"Object plugin 1050004 not found."});
    setUp({GenerateList, Object, 0, false, 1050004});
    EXPECT_EQ(process().rows, Texts{"Scatter Cloner"});

    // Tags too, in a selection scope that holds none of them.
    setUp({Identify, Tag, 2, false, 1050001});
    EXPECT_EQ(process().boxes, Texts{"Plugin 1050001 is a Tag plugin with the default name Scatter Tag."});
}

TEST_F(RunOutcomeTest, EveryFailedAllocationOrCreationLeavesATruthfulRun) {
    const std::string scenes[] = {exampleScene, kit::deepScene(12, deepId), kit::renderEngineScene(deepId)};
    std::vector<Session> sessions;
    for (const Action action : {GenerateList, Remove}) {
        for (const Choice& choice : everyTypeAndScope)
            sessions.push_back({action, choice.type, choice.scope, false, deepId});
    }
    sessions.push_back({FindMissing, Tag, 0, false, 0});
    sessions.push_back({Remove, Shader, 0, true, deepId});
    for (const int32_t id : {deepId, 1050002, 1050003, 999}) sessions.push_back({Identify, Tag, 0, false, id});
    for (const std::string& scene : scenes) {
        for (const Session& s : sessions) {
            for (const Refused what : {Refused::Allocation, Refused::Object}) {
                SCOPED_TRACE("action " + std::to_string(entryId(s.action)) + " type " +
                             std::to_string(entryId(s.pluginType)) + " scope " + std::to_string(s.scope) + " id " +
                             std::to_string(s.id) + (what == Refused::Object ? " host objects" : " allocations"));
                sweep(scene, s, what);
                if (testing::Test::HasFailure()) return;
            }
        }
    }
}

TEST_F(RunOutcomeTest, EveryRefusedUndoRequestOrStringLeavesATruthfulRun) {
    const std::string scenes[] = {exampleScene, kit::deepScene(12, deepId), kit::renderEngineScene(deepId)};
    std::vector<Session> sessions;
    for (const Choice& choice : everyTypeAndScope)
        sessions.push_back({Remove, choice.type, choice.scope, false, deepId});
    sessions.push_back({Remove, Shader, 0, true, deepId});
    sessions.push_back({RemoveMissing, Tag, 0, false, 0});
    sessions.push_back({RemoveMissing, Tag, 0, true, 0});
    // Removed objects taking their children along.
    for (const int32_t scope : {0, 2}) sessions.push_back({Remove, Object, scope, false, deepId, false});
    sessions.push_back({RemoveMissing, Tag, 0, false, 0, false});
    int32_t cutShortRuns = 0;
    for (const std::string& scene : scenes) {
        for (const Session& s : sessions) {
            for (const Refused what : {Refused::Undo, Refused::String}) {
                SCOPED_TRACE("action " + std::to_string(entryId(s.action)) + " type " +
                             std::to_string(entryId(s.pluginType)) + " scope " + std::to_string(s.scope) +
                             (what == Refused::Undo ? " undo" : " strings"));
                cutShortRuns += sweep(scene, s, what);
                if (testing::Test::HasFailure()) return;
            }
        }
    }
    EXPECT_GT(cutShortRuns, 100) << "the refusals reach the removals";
}

TEST_F(RunOutcomeTest, ACutShortRemovalRemovesNothingAndSaysSo) {
    // A 40-deep chain of tagged objects: the walk's stack and the list of
    // instances grow part way down.
    EXPECT_GE(sweep(kit::deepScene(40, deepId), {Remove, Tag, 0, false, deepId}, Refused::Allocation), 4);
    // With memory, the same run removes all 40.
    load(kit::deepScene(40, deepId));
    EXPECT_EQ(process().rows, Texts{"Tag plugin 1234567 not found."});
    EXPECT_EQ(document->undo.done.back().steps.size(), 40u);
}

TEST_F(RunOutcomeTest, ACutShortListKeepsItsRowsAndIdentifyStops) {
    load(exampleScene);
    setUp({GenerateList, Shader, 0, false, deepId});
    const Texts all = process().rows;
    ASSERT_GE(all.size(), 3u);
    bool partList = false;
    for (int64_t k = 1; k < 40 && !partList; ++k) {
        host.services.failAllocation(k);
        const Outcome outcome = process();
        host.services.failAllocation(0);
        if (outcome.boxes != Texts{kit::listIncomplete}) continue;
        // The rows listed before the run was cut short stay.
        partList = !outcome.rows.empty();
        EXPECT_LT(outcome.rows.size(), all.size());
        EXPECT_TRUE(std::equal(outcome.rows.begin(), outcome.rows.end(), all.begin()));
    }
    EXPECT_TRUE(partList);

    // Identify for a post effect: the tag driver runs out; no later driver,
    // no registry report.
    load(kit::deepScene(40, deepId));
    setUp({Identify, Tag, 0, false, 1050003});
    host.services.failAllocation(2);  // the tag walk's stack
    EXPECT_EQ(process().boxes, Texts{kit::searchIncomplete});
    EXPECT_EQ(dialog->foundType, std::nullopt);
}

TEST_F(RunOutcomeTest, ARemovalIsNeverConfirmedInABlankQuestion) {
    // Every string the host makes for the run refused in turn: the question is
    // asked with its words or not at all, and then nothing is removed.
    for (int64_t k = 1;; ++k) {
        SCOPED_TRACE("failing string " + std::to_string(k));
        load(exampleScene);
        setUp({Remove, Tag, 0, false, 1050001});
        check(IDC_WARN_BEFORE_DELETING, true);
        const std::string before = substitute::saveScene(host.scene, *document);
        host.services.failStringCreation(k);
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
        const bool reached = !host.services.stringCreationFailurePending();
        host.services.failStringCreation(0);
        const auto& shown = host.ui.messageBoxes.shown;
        ASSERT_FALSE(shown.empty());
        if (shown.front().style == HOST_MESSAGE_BOX_QUESTION) {
            EXPECT_EQ(shown.front().text, "Are you sure you want to delete the plugin instances?");
        } else {
            EXPECT_EQ(shown.front().text, kit::outOfMemoryTexts[entryId(Remove)]);
            EXPECT_EQ(substitute::saveScene(host.scene, *document), before);
        }
        if (!reached || testing::Test::HasFailure()) break;
    }
}
