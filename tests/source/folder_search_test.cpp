// Find Missing Plugins in Folder, as the artist sees it: every scene file
// below the chosen folder searched as Find Missing Plugins searches the
// active scene, one at a time and never shown, listed under its path, with
// the file being searched in the status bar, Escape to stop, and a
// double-click that opens the file; the open scene is never touched.
#include <gtest/gtest.h>

#include "dialog_session.h"
#include "expected_notices.h"
#include "scene_folder.h"
#include "unprivileged_child.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;
using substitute::StatusChange;

// Missing: tags 2000001 (twice; the file's own "plugins" record does not
// install it), the shader 2000003, the object 2000004, the post effect
// 2000005 of an inactive render settings, the material 2000008.
const char* const everyType = R"({"plugins": [{"id": 2000001, "kind": 6, "name": "Installed Elsewhere"}],
 "objects": [{"name": "Rig", "type": 2000004, "tags": [
   {"name": "Glow Tag", "type": 2000001}, {"name": "Glow Tag.1", "type": 2000001}, {"name": "Phong", "type": 5612}],
   "children": [{"name": "Cube", "type": 5159}]}],
 "materials": [{"name": "Old Mat", "type": 2000008},
   {"name": "Wood", "type": 5703, "channels": {"0": {"shader": {"name": "Grain", "type": 2000003}}}}],
 "renderSettings": [{"name": "Main", "active": true}, {"name": "Preview", "videoPosts": [{"name": "Bloom", "type": 2000005}]}]})";
const char* const clean = R"({"objects": [{"name": "Null", "type": 5140}]})";

const Texts folderHeaders = {"Scene File", "Plugin ID", "Type", "Instances", "Name"};
const Rows everyOutcome = {
    {"assets/broken.json", "Could not open this file.", "", "", ""},
    {"assets/empty.json", "Could not open this file.", "", "", ""},
    {"shots/sh010/main.json", "2000001", "Tag", "2", "Glow Tag"},
    {"shots/sh010/main.json", "2000003", "Shader", "1", "Grain"},
    {"shots/sh010/main.json", "2000004", "Object", "1", "Rig"},
    {"shots/sh010/main.json", "2000005", "Post Effect", "1", "Bloom"},
    {"shots/sh010/main.json", "2000008", "Material", "1", "Old Mat"},
    {"shots/sh020.json", "No missing plugins found.", "", "", ""},
};

}  // namespace

class FolderSearchTest : public DialogSession {
protected:
    FolderSearchTest() {
        folder.write("shots/sh010/main.json", everyType);
        folder.write("shots/sh020.json", clean);
        folder.write("assets/broken.json", R"({"objects": 3})");
        folder.write("assets/empty.json", "");
        folder.write("assets/notes.txt", clean);
    }

    // Process with the folder chooser answered with folder (or cancelled).
    void searchFolder(const std::optional<std::filesystem::path>& chosen) {
        if (chosen) host.ui.choosers.folderAnswers.push_back(*chosen);
        choose(IDC_ACTION, FindMissingInFolder);
        host.ui.messageBoxes.shown.clear();
        host.ui.statusBar.changes.clear();
        press(IDC_PROCESS);
    }

    std::vector<std::string> statusTexts() const {
        std::vector<std::string> texts;
        for (const StatusChange& change : host.ui.statusBar.changes) {
            if (change.kind == StatusChange::Kind::Text) texts.push_back(change.text);
            if (change.kind == StatusChange::Kind::Bar) texts.push_back(std::to_string(change.percent) + "%");
            if (change.kind == StatusChange::Kind::Cleared) texts.push_back("cleared");
        }
        return texts;
    }

#ifndef _WIN32
    // The run made by a user who may not read everything: each row's first two cells.
    kit::ChildRun searchAsUnprivileged(const std::filesystem::path& chosen) {
        return kit::runUnprivileged([&](std::string& output) {
            host.ui.choosers.folderAnswers.push_back(chosen);
            substitute::chooseComboEntry(window(), IDC_ACTION, entryId(FindMissingInFolder));
            substitute::pressButton(window(), IDC_PROCESS);
            for (const auto& row : rows()) output += row[0] + " | " + row[1] + "\n";
            return 0;
        });
    }
#endif

    kit::TemporaryFolder folder{"folder-search"};
};

TEST_F(FolderSearchTest, EnablesTheControlsFindMissingPluginsDoes) {
    choose(IDC_ACTION, FindMissingInFolder);
    EXPECT_FALSE(control(IDC_PLUGIN_TYPE).enabled);
    EXPECT_FALSE(control(IDC_SCOPE).enabled);
    EXPECT_TRUE(control(IDC_TREE_VIEW).enabled);
    EXPECT_FALSE(control(IDC_WARN_BEFORE_DELETING).enabled);
    EXPECT_FALSE(control(IDC_KEEP_LAYER_SHADERS).enabled);
}

TEST_F(FolderSearchTest, ListsEveryOutcomeOfEverySceneFileAndLeavesTheOpenSceneAlone) {
    // The application knows the shader 2000003: in no file is it missing.
    load(R"({"plugins": [{"id": 2000003, "kind": 1, "name": "Grain"}],
             "objects": [{"name": "Rig", "type": 2000004, "tags": [{"name": "Glow Tag", "type": 2000001}]}],
             "materials": [{"name": "M", "type": 5703, "channels": {"0": {"shader": {"name": "S", "type": 2000006}}}}]})");
    host.scene.makeActive(*document, *document->objects.first);
    const std::string before = saved();
    const size_t updates = host.scene.notices.materialUpdates.size();
    const size_t redraws = host.scene.notices.sceneChanges.size();
    searchFolder(folder.path());
    ASSERT_EQ(host.ui.choosers.shown.size(), 1u);
    EXPECT_EQ(host.ui.choosers.shown[0].mode, HOST_SELECT_FOLDER);
    EXPECT_EQ(host.ui.choosers.shown[0].title, "Choose a folder of scene files");
    EXPECT_EQ(headers(), folderHeaders);
    Rows expected = everyOutcome;
    expected.erase(expected.begin() + 3);
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(boxTexts(), Texts{});
    EXPECT_EQ(statusTexts(),
              (Texts{"Cleartrace: assets/broken.json (1 of 4)", "0%", "Cleartrace: assets/empty.json (2 of 4)", "25%",
                     "Cleartrace: shots/sh010/main.json (3 of 4)", "50%", "Cleartrace: shots/sh020.json (4 of 4)",
                     "75%", "cleared"}));
    // One hidden document at a time, each freed; the open scene, its
    // selection, its undo, its materials and the registry as they were.
    EXPECT_EQ(host.scene.hiddenLoads, 4);
    EXPECT_EQ(host.scene.mostHiddenAtOnce, 1u);
    EXPECT_EQ(host.scene.hiddenDocumentCount(), 0u);
    EXPECT_EQ(host.scene.activeDocument(), document);
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(host.scene.undoCount(*document), 0u);
    EXPECT_EQ(host.scene.notices.materialUpdates.size(), updates);
    EXPECT_EQ(host.scene.notices.sceneChanges.size(), redraws) << "no redraw for documents no one sees";
    EXPECT_EQ(host.scene.plugins().size(), 1u);
    EXPECT_EQ(host.ui.escapeKey.queries, 3) << "asked between files only";
}

TEST_F(FolderSearchTest, AFolderWithoutSceneFilesOrUnlistedSaysSoAndACancelledChooserChangesNothing) {
    kit::TemporaryFolder empty("no-scenes");
    empty.write("readme.txt", "no scenes here");
    searchFolder(empty.path());
    EXPECT_EQ(rows(), (Rows{{"No scene files found.", "", "", "", ""}}));
    EXPECT_EQ(statusTexts(), Texts{});
    EXPECT_EQ(boxTexts(), Texts{});
    // Double-clicked, it does nothing.
    ASSERT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, 0, COLUMN_NAME), "");
    EXPECT_EQ(control(IDC_ACTION).value, entryId(FindMissingInFolder));

    // A folder that cannot be listed is no folder without scene files.
    searchFolder(empty.path() / "gone");
    EXPECT_EQ(rows(), (Rows{{"./", "Could not list this folder.", "", "", ""}}));

    listInstances(Tag, 1234);
    const Rows listed = rows();
    searchFolder(std::nullopt);
    EXPECT_EQ(host.ui.choosers.shown.size(), 3u);
    EXPECT_EQ(headers(), (Texts{"Object With Tag", "Tag Name"}));
    EXPECT_EQ(rows(), listed);
    EXPECT_EQ(host.scene.hiddenLoads, 0);
}

TEST_F(FolderSearchTest, EscapeStopsTheRunBetweenFilesKeepingTheRowsOfTheFilesSearched) {
    struct Case {
        int64_t pressedAfter;
        size_t rows;
        const char* notice;   // null: none
        const char* lastRow;  // the row that ends a list cut short; null: none
    };
    // Pressed from the start, it is heard after the first file: a short listing asks nothing.
    const Case cases[] = {
        {0, 1, "Cleartrace stopped after 1 of 4 scene files.", "Stopped after 1 of 4 scene files."},
        {1, 1, "Cleartrace stopped after 1 of 4 scene files.", "Stopped after 1 of 4 scene files."},
        {2, 2, "Cleartrace stopped after 2 of 4 scene files.", "Stopped after 2 of 4 scene files."},
        {3, 7, "Cleartrace stopped after 3 of 4 scene files.", "Stopped after 3 of 4 scene files."},
        // Pressed while the last file is searched: the run is whole.
        {4, 8, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("Escape after " + std::to_string(c.pressedAfter));
        host.scene.hiddenLoads = 0;
        host.ui.escapeKey.pressedAfterLoads = c.pressedAfter;
        searchFolder(folder.path());
        Rows expected(everyOutcome.begin(), everyOutcome.begin() + std::ptrdiff_t(c.rows));
        // The list says what the notice says, so a saved list does too.
        if (c.lastRow) expected.push_back({c.lastRow, "", "", "", ""});
        EXPECT_EQ(rows(), expected);
        EXPECT_EQ(boxTexts(), c.notice ? Texts{c.notice} : Texts{});
        EXPECT_EQ(statusTexts().back(), "cleared");
        EXPECT_EQ(host.scene.hiddenDocumentCount(), 0u);
    }
}

TEST_F(FolderSearchTest, ADoubleClickOpensTheSceneFileAndFindsItsMissingPlugins) {
    searchFolder(folder.path());
    ASSERT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, 3, COLUMN_NAME), "");
    HostDocument* opened = host.scene.activeDocument();
    ASSERT_NE(opened, document);
    EXPECT_EQ(opened->objects.first->name, "Rig");
    EXPECT_EQ(host.scene.plugins().size(), 0u) << "opening a file installs no plug-ins";
    EXPECT_EQ(control(IDC_ACTION).value, entryId(FindMissing));
    EXPECT_EQ(headers(), (Texts{"Plugin ID", "Type", "Instances", "Name"}));
    EXPECT_EQ(rows(), (Rows{{"2000001", "Tag", "2", "Glow Tag"},
                            {"2000003", "Shader", "1", "Grain"},
                            {"2000004", "Object", "1", "Rig"},
                            {"2000005", "Post Effect", "1", "Bloom"},
                            {"2000008", "Material", "1", "Old Mat"}}));
    // From there, the one-scene workflow: the instances of a row.
    ASSERT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, 0, COLUMN_NAME), "");
    EXPECT_EQ(rows(), (Rows{{"Rig", "Glow Tag"}, {"Rig", "Glow Tag.1"}}));
}

TEST_F(FolderSearchTest, ARowWhoseFileCanNoLongerBeOpenedSaysSoAndChangesNothing) {
    searchFolder(folder.path());
    std::filesystem::remove(folder.path() / "shots" / "sh020.json");
    folder.write("shots/sh010/main.json", "{\"objects\": [");
    host.ui.messageBoxes.shown.clear();
    for (const int32_t row : {7, 2, 0}) {
        ASSERT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, row, COLUMN_NAME), "");
    }
    EXPECT_EQ(boxTexts(),
              (Texts{"Cleartrace could not open shots/sh020.json.", "Cleartrace could not open shots/sh010/main.json.",
                     "Cleartrace could not open assets/broken.json."}));
    EXPECT_EQ(host.scene.activeDocument(), document);
    EXPECT_EQ(control(IDC_ACTION).value, entryId(FindMissingInFolder));
    EXPECT_EQ(rows(), everyOutcome);
}

// Refusing each allocation, host object and string of the run in turn: the
// run says it was cut short, keeps the rows of the files it finished (the
// first rows of the whole list), holds no document and leaks nothing.
TEST_F(FolderSearchTest, ARunCutShortKeepsTheRowsOfTheFilesFinished) {
    using Fail = void (substitute::KernelServices::*)(int64_t);
    using Pending = bool (substitute::KernelServices::*)() const;
    const std::pair<Fail, Pending> refusals[] = {
        {&substitute::KernelServices::failAllocation, &substitute::KernelServices::allocationFailurePending},
        {&substitute::KernelServices::failObjectCreation, &substitute::KernelServices::objectCreationFailurePending},
        {&substitute::KernelServices::failStringCreation, &substitute::KernelServices::stringCreationFailurePending},
    };
    int cutShort = 0;
    for (const auto& [fail, pending] : refusals) {
        for (int64_t k = 1;; ++k) {
            SCOPED_TRACE("request " + std::to_string(k));
            host.ui.choosers.folderAnswers.push_back(folder.path());
            choose(IDC_ACTION, FindMissingInFolder);
            host.ui.messageBoxes.shown.clear();
            (host.services.*fail)(k);
            press(IDC_PROCESS);
            const bool reached = !(host.services.*pending)();
            (host.services.*fail)(0);
            const Rows shown = rows();
            EXPECT_EQ(host.scene.hiddenDocumentCount(), 0u);
            if (boxTexts() == Texts{kit::listIncomplete}) {
                ++cutShort;
                // The rows of the files finished, then the row that says the list is cut short
                // (none when not even its room could be made).
                if (!shown.empty()) {
                    ASSERT_LE(shown.size(), everyOutcome.size() + 1);
                    EXPECT_EQ(shown.back(), (std::vector<std::string>{"The list is incomplete.", "", "", "", ""}));
                    EXPECT_EQ(Rows(shown.begin(), shown.end() - 1),
                              Rows(everyOutcome.begin(), everyOutcome.begin() + std::ptrdiff_t(shown.size() - 1)));
                }
            } else {
                // A refusal the run did not need, or one met while drawing the list.
                EXPECT_EQ(boxTexts(), Texts{});
                if (reached) {
                    EXPECT_TRUE(shown == everyOutcome || shown.empty()) << shown.size();
                }
            }
            host.ui.choosers.folderAnswers.clear();
            if (!reached) break;
        }
    }
    EXPECT_GT(cutShort, 20);
}

#ifndef _WIN32
// A file or a folder the user may not read: the row says so, and every
// other file is searched.
TEST_F(FolderSearchTest, FilesAndFoldersThatCannotBeReadAreListedAsSuch) {
    folder.write("sealed/inside.json", clean);
    folder.write("locked.json", clean);
    std::filesystem::permissions(folder.path() / "sealed", std::filesystem::perms::none);
    std::filesystem::permissions(folder.path() / "locked.json", std::filesystem::perms::none);
    const kit::ChildRun run = searchAsUnprivileged(folder.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "assets/broken.json | Could not open this file.\n"
              "assets/empty.json | Could not open this file.\n"
              "locked.json | Could not open this file.\n"
              "sealed/ | Could not list this folder.\n"
              "shots/sh010/main.json | 2000001\n"
              "shots/sh010/main.json | 2000003\n"
              "shots/sh010/main.json | 2000004\n"
              "shots/sh010/main.json | 2000005\n"
              "shots/sh010/main.json | 2000008\n"
              "shots/sh020.json | No missing plugins found.\n");
}
#endif

// A listing long enough to take several steps asks Escape between them and
// shows how far it got; stopped there, no file is searched and the list says so.
TEST_F(FolderSearchTest, EscapeIsHeardDuringALongListing) {
    for (int i = 0; i < 300; ++i) folder.write("assets/notes/" + std::to_string(i) + ".txt", "");
    searchFolder(folder.path());
    EXPECT_EQ(rows(), everyOutcome);
    EXPECT_EQ(statusTexts().front(), "Cleartrace: listing the folder (2 found)");

    host.ui.escapeKey.pressedAfterLoads = 0;
    searchFolder(folder.path());
    EXPECT_EQ(rows(), (Rows{{"The list is incomplete.", "", "", "", ""}}));
    EXPECT_EQ(boxTexts(), Texts{"Cleartrace stopped while listing the folder. No scene file was searched."});
    EXPECT_EQ(statusTexts(), Texts{}) << "stopped before the first status";
    EXPECT_EQ(host.scene.hiddenLoads, 4) << "the first run's only";
}

#ifndef _WIN32
// A folder that could not be listed sorts as if its path ended in '/', among
// the files around it; a folder met twice through links is listed once.
TEST_F(FolderSearchTest, AFolderNotListedSortsAmongTheFilesAroundItAndALinkedFolderIsListedOnce) {
    kit::TemporaryFolder project("sorted");
    for (const char* name : {"a-b.json", "a.json", "a/inside.json", "a0.json", "real/s.json"})
        project.write(name, clean);
    std::filesystem::create_directory_symlink("real", project.path() / "linked");
    std::filesystem::permissions(project.path() / "a", std::filesystem::perms::none);
    const kit::ChildRun run = searchAsUnprivileged(project.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "a-b.json | No missing plugins found.\n"
              "a.json | No missing plugins found.\n"
              "a/ | Could not list this folder.\n"
              "a0.json | No missing plugins found.\n"
              "linked/s.json | No missing plugins found.\n");
}
#endif
