// What a long run shows and hears: the status bar records every change, the
// Escape key goes down once enough scene files were read, and the choosers
// answer from their queues or are cancelled.
#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "kernel/host_strings.h"

namespace {

using substitute::StatusChange;

class Progress : public ::testing::Test {
protected:
    Progress() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
};

TEST_F(Progress, TheStatusBarRecordsItsTextItsBarAndItsClearing) {
    std::vector<StatusChange::Kind> seen;
    host.ui.statusBar.onChange = [&](const StatusChange& change) { seen.push_back(change.kind); };
    HostString* text = substitute::makeString("Cleartrace: a.json (1 of 2)");
    t.t_C4DOS_Ge->statusSetText(text);
    t.t_C4DOS_Ge->statusSetBar(50);
    EXPECT_EQ(host.ui.statusBar.text, "Cleartrace: a.json (1 of 2)");
    EXPECT_EQ(host.ui.statusBar.percent, 50);
    t.t_C4DOS_Ge->statusClear();
    EXPECT_EQ(host.ui.statusBar.text, "");
    EXPECT_FALSE(host.ui.statusBar.percent);
    EXPECT_EQ(seen, (std::vector<StatusChange::Kind>{StatusChange::Kind::Text, StatusChange::Kind::Bar,
                                                     StatusChange::Kind::Cleared}));
    EXPECT_DEATH(t.t_C4DOS_Ge->statusSetBar(101), "Ge.statusSetBar: 101 is not a percentage");
    substitute::releaseString(text);
}

TEST_F(Progress, EscapeIsDownOnceTheModuleReadEnoughSceneFiles) {
    EXPECT_FALSE(t.t_C4DOS_Ge->keyDown(HOST_KEY_ESCAPE)) << "never pressed";
    host.ui.escapeKey.pressedAfterLoads = 2;
    host.scene.hiddenLoads = 1;
    EXPECT_FALSE(t.t_C4DOS_Ge->keyDown(HOST_KEY_ESCAPE));
    host.scene.hiddenLoads = 2;
    EXPECT_TRUE(t.t_C4DOS_Ge->keyDown(HOST_KEY_ESCAPE));
    EXPECT_EQ(host.ui.escapeKey.queries, 3);
    EXPECT_DEATH(t.t_C4DOS_Ge->keyDown('A'), "Ge.keyDown: only the Escape key is known");
}

TEST_F(Progress, ChoosersAnswerFromTheirOwnQueuesAndAreCancelledWithoutAnAnswer) {
    HostString* title = substitute::makeString("Choose");
    HostPath* path = t.t_C4DOS_Fn->create();
    path->path = "Cleartrace.csv";
    host.ui.choosers.folderAnswers.push_back("project");
    EXPECT_FALSE(t.t_C4DOS_Fn->select(path, HOST_SELECT_SAVE, title)) << "no save answer queued";
    EXPECT_EQ(path->path, "Cleartrace.csv");
    EXPECT_TRUE(t.t_C4DOS_Fn->select(path, HOST_SELECT_FOLDER, title));
    EXPECT_EQ(path->path, "project");
    EXPECT_FALSE(t.t_C4DOS_Fn->select(path, HOST_SELECT_FOLDER, title)) << "the answer was used";
    ASSERT_EQ(host.ui.choosers.shown.size(), 3u);
    EXPECT_EQ(host.ui.choosers.shown[0].mode, HOST_SELECT_SAVE);
    EXPECT_EQ(host.ui.choosers.shown[0].title, "Choose");
    EXPECT_EQ(host.ui.choosers.shown[0].proposed, "Cleartrace.csv");
    EXPECT_FALSE(host.ui.choosers.shown[0].chosen);
    EXPECT_EQ(host.ui.choosers.shown[1].chosen, std::filesystem::path("project"));
    EXPECT_DEATH(t.t_C4DOS_Fn->select(path, 0, title), "Fn.select: chooser mode 0 is not known");
    t.t_C4DOS_Fn->free(path);
    substitute::releaseString(title);
}

}  // namespace
