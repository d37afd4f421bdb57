// Remove Missing Plugins in Folder, as the artist sees it: two folders asked
// for, the copies written outside the folder searched, each copy exactly the
// file Remove Missing Plugins and a save would make, verified, never over a
// file; the originals, the open scene and the destination's other files
// untouched, whatever stops the run.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "dialog_session.h"
#include "expected_notices.h"
#include "read_file.h"
#include "scene_folder.h"

namespace {
namespace fs = std::filesystem;

using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

// The application's plug-ins, which every file lists too, so that a file
// opened alone as the start scene installs the same ones.
const std::string installed = R"("plugins": [{"id": 5, "kind": 6, "name": "Known Tag"}])";
// The object 2000004 goes; its tags alternate missing and kept, its child stays.
const std::string shot = "{" + installed + R"(,
 "objects": [{"name": "Rig", "type": 2000004, "tags": [
   {"name": "Gone 1", "type": 2000001}, {"name": "Kept 1", "type": 5}, {"name": "Gone 2", "type": 2000001},
   {"name": "Kept 2", "type": 5612}], "children": [{"name": "Cube", "type": 5159}]}],
 "materials": [{"name": "Wood", "type": 5703, "channels": {"0": {"shader": {"name": "Layers", "type": 1011123,
   "layers": [{"kind": 2, "shader": {"name": "Grain", "type": 2000003}}]}}}}],
 "renderSettings": [{"name": "Main", "active": true, "videoPosts": [{"name": "Bloom", "type": 2000005}]}]})";
const std::string tidy = "{" + installed + R"(, "objects": [{"name": "Null", "type": 5140}]})";

const Texts cleanHeaders = {"Scene File", "Plugin ID", "Type", "Instances", "Name", "Cleaned Copy"};

// The rows of a.json and c/d.json (both the shot) with copy as their copy's cell.
Rows shotRows(const std::string& file, const std::string& copy) {
    return {{file, "2000001", "Tag", "2", "Gone 1", copy},
            {file, "2000003", "Shader", "1", "Grain", copy},
            {file, "2000004", "Object", "1", "Rig", copy},
            {file, "2000005", "Post Effect", "1", "Bloom", copy}};
}

}  // namespace

class FolderCleanTest : public DialogSession {
protected:
    FolderCleanTest() {
        load("{" + installed + "}");
        // Compact: a copy, saved in its indented form, is larger.
        source.write("a.json", compactShot);
        source.write("b.json", tidy);
        source.write("broken.json", "{\"objects\": 3}");
        source.write("c/d.json", compactShot);
    }

    // Process with the choosers answered (none: cancelled) and the question
    // answered yes unless said otherwise.
    void clean(const std::vector<fs::path>& chosen, bool yes = true) {
        for (const fs::path& folder : chosen) host.ui.choosers.folderAnswers.push_back(folder);
        host.ui.messageBoxes.questionAnswers.push_back(yes ? HOST_ANSWER_YES : HOST_ANSWER_NO);
        choose(IDC_ACTION, RemoveMissingInFolder);
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
        host.ui.messageBoxes.questionAnswers.clear();
        host.ui.choosers.folderAnswers.clear();
    }
    void cleanIntoDestination() { clean({source.path(), destination.path()}); }

    // What Remove Missing Plugins and a save make of file opened alone.
    std::string removedAndSaved(const fs::path& file) {
        load(kit::readFile(file));
        choose(IDC_ACTION, RemoveMissing);
        host.ui.messageBoxes.questionAnswers.push_back(HOST_ANSWER_YES);
        press(IDC_PROCESS);
        return saved();
    }

    // Every entry below folder, by relative path.
    static Texts entriesBelow(const fs::path& folder) {
        Texts entries;
        for (const auto& [path, state] : kit::folderState(folder)) entries.push_back(path);
        return entries;
    }

    const std::string compactShot = nlohmann::ordered_json::parse(shot).dump();
    kit::TemporaryFolder source{"clean-source"};
    kit::TemporaryFolder destination{"clean-copies"};
};

TEST_F(FolderCleanTest, EnablesTheBoxesOfRemoveMissingPluginsAndComesAfterTheFolderSearch) {
    choose(IDC_ACTION, RemoveMissingInFolder);
    for (const auto& [id, enabled] : std::vector<std::pair<int32_t, bool>>{{IDC_PLUGIN_TYPE, false},
                                                                           {IDC_SCOPE, false},
                                                                           {IDC_WARN_BEFORE_DELETING, true},
                                                                           {IDC_KEEP_LAYER_SHADERS, true},
                                                                           {IDC_KEEP_CHILDREN, true}}) {
        EXPECT_EQ(control(id).enabled, enabled) << id;
    }
    EXPECT_EQ(std::string(actionEntries[entryId(RemoveMissingInFolder)].text), "Remove Missing Plugins in Folder");
    EXPECT_EQ(entryId(RemoveMissingInFolder), entryId(FindMissingInFolder) + 1);
}

TEST_F(FolderCleanTest, ListsEveryOutcomeWritesVerifiedCopiesAndChangesNothingElse) {
    destination.write("b.json", "someone else's");
    const auto sourceBefore = kit::folderState(source.path());
    const std::string sceneBefore = saved();
    cleanIntoDestination();
    ASSERT_EQ(host.ui.choosers.shown.size(), 2u);
    EXPECT_EQ(host.ui.choosers.shown[1].title, "Choose a folder for the cleaned copies");
    EXPECT_EQ(boxTexts(), Texts{"Write a copy without missing plug-ins of every scene file below " +
                                source.path().string() + " into " + destination.path().string() + "?"});
    EXPECT_EQ(headers(), cleanHeaders);
    Rows expected = shotRows("a.json", "a.json");
    expected.push_back({"b.json", kit::nothingToRemove, "", "", "", ""});
    expected.push_back({"broken.json", "Could not open this file.", "", "", "", ""});
    for (const auto& row : shotRows("c/d.json", "c/d.json")) expected.push_back(row);
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(entriesBelow(destination.path()), (Texts{"a.json", "b.json", "c", "c/d.json"}));
    EXPECT_EQ(kit::readFile(destination.path() / "b.json"), "someone else's");
    EXPECT_EQ(kit::folderState(source.path()), sourceBefore) << "bytes and times below the source";
    EXPECT_EQ(saved(), sceneBefore);
    EXPECT_EQ(host.scene.undoCount(*document), 0u);
    EXPECT_EQ(host.scene.mostHiddenAtOnce, 1u);
    EXPECT_EQ(host.scene.hiddenDocumentCount(), 0u);

    // The removed object's place: a Null with the kept tags in their order.
    const std::string copy = kit::readFile(destination.path() / "a.json");
    EXPECT_NE(copy.find(R"({"name": "Rig", "type": 5140, "tags": [
      {"name": "Kept 1", "type": 5},
      {"name": "Kept 2", "type": 5612}
    ], "children": [)"),
              std::string::npos)
        << copy;

    // Again into the same folder: never over a file.
    cleanIntoDestination();
    EXPECT_EQ(rows()[0], (Texts{"a.json", "2000001", "Tag", "2", "Gone 1", kit::copyExists}));
    EXPECT_EQ(kit::readFile(destination.path() / "a.json"), copy);

    // The list saved keeps the column.
    host.ui.choosers.saveAnswers.push_back(destination.path() / "list.csv");
    menu(IDM_SAVE_LIST);
    EXPECT_EQ(kit::readFile(destination.path() / "list.csv").substr(0, 61),
              "Scene File,Plugin ID,Type,Instances,Name,Cleaned Copy\r\na.json");
}

TEST_F(FolderCleanTest, EachCopyIsTheFileRemoveMissingPluginsAndASaveMakeWithTheSameBoxes) {
    for (const bool keepShaders : {false, true}) {
        for (const bool keepChildren : {false, true}) {
            SCOPED_TRACE(std::string("layer shaders ") + (keepShaders ? "kept" : "removed") + ", children " +
                         (keepChildren ? "kept" : "removed"));
            kit::TemporaryFolder copies("clean-boxes");
            load("{" + installed + "}");
            choose(IDC_ACTION, RemoveMissingInFolder);
            check(IDC_KEEP_LAYER_SHADERS, keepShaders);
            check(IDC_KEEP_CHILDREN, keepChildren);
            clean({source.path(), copies.path()});
            const std::string copy = kit::readFile(copies.path() / "c" / "d.json");
            EXPECT_EQ(copy, removedAndSaved(source.path() / "c" / "d.json"));
        }
    }
}

TEST_F(FolderCleanTest, ACancelANoOrADestinationInsideTheSourceChangesNothing) {
    fs::create_directory(source.path() / "copies");
#ifndef _WIN32
    fs::create_directory_symlink(source.path() / "c", destination.path() / "into-source");
#endif
    const std::vector<std::vector<fs::path>> refused = {
        {source.path(), source.path()},
        {source.path(), source.path() / "copies"},
        {source.path(), source.path() / "c" / ".."},
#ifndef _WIN32
        {source.path(), destination.path() / "into-source"},
        // Still to be made, below a link into the source: made there too.
        {source.path(), destination.path() / "into-source" / "new" / "deeper"},
#endif
    };
    for (const auto& chosen : refused) {
        SCOPED_TRACE(chosen[1].string());
        clean(chosen);
        EXPECT_EQ(boxTexts(), Texts{kit::copiesInsideText});
    }
    clean({source.path()});
    clean({});
    clean({source.path(), destination.path()}, false);
    EXPECT_EQ(boxTexts(), Texts{"Write a copy without missing plug-ins of every scene file below " +
                                source.path().string() + " into " + destination.path().string() + "?"});
    EXPECT_EQ(host.scene.hiddenLoads, 0);
    EXPECT_EQ(rows(), Rows{});
    EXPECT_FALSE(fs::exists(destination.path() / "a.json"));
    EXPECT_FALSE(fs::exists(source.path() / "copies" / "a.json"));
    // Without the warning, no question.
    check(IDC_WARN_BEFORE_DELETING, false);
    cleanIntoDestination();
    EXPECT_EQ(boxTexts(), Texts{});
    EXPECT_EQ(rows().size(), 10u);
}

TEST_F(FolderCleanTest, RefusedWritesFoldersAndDeletesAndCopiesThatDoNotVerifyLeaveNothingBehind) {
    struct Case {
        const char* what;
        void (substitute::KernelServices::*fail)(int64_t);
        int64_t nth;
        const char* aCopy;  // a.json's cell
        const char* dCopy;  // c/d.json's cell
        Texts left;         // in the destination
    };
    // The copies' indented form is larger than the files: a limit between
    // the two leaves every copy unreadable.
    const Case cases[] = {
        {"save", &substitute::KernelServices::failSave, 1, kit::copyNotWritten, "c/d.json", {"c", "c/d.json"}},
        {"folder", &substitute::KernelServices::failFolderCreation, 2, "a.json", kit::copyNotWritten, {"a.json"}},
        {"copy unreadable", nullptr, 0, kit::copyNotVerified, kit::copyNotVerified, {}},
        {"its delete refused",
         &substitute::KernelServices::failRemoval,
         1,
         kit::copyNotVerified,
         kit::copyNotVerified,
         {"a.json"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kit::TemporaryFolder copies("clean-refused");
        const bool unreadable = c.fail == nullptr || c.fail == &substitute::KernelServices::failRemoval;
        host.scene.fileLimit = unreadable ? compactShot.size() + 1 : substitute::defaultInputLimit;
        if (c.fail) (host.services.*c.fail)(c.nth);
        clean({source.path(), copies.path()});
        const Rows shown = rows();
        ASSERT_EQ(shown.size(), 10u);
        EXPECT_EQ(shown[0][5], c.aCopy);
        EXPECT_EQ(shown[6][5], c.dCopy);
        EXPECT_EQ(entriesBelow(copies.path()), c.left) << "no temporary file, no empty folder";
        EXPECT_EQ(boxTexts().size(), 1u) << "the question alone";
    }
    host.scene.fileLimit = substitute::defaultInputLimit;
}

TEST_F(FolderCleanTest, EscapeStopsBetweenFilesWithTheCopiesOfTheFilesFinished) {
    struct Case {
        int64_t pressedAfter;  // hidden documents read, a copy's reading back included
        size_t rows;           // of the files cleaned
        Texts copies;
        const char* notice;  // null: none
        const char* endRow;  // the list's last row, which says it was cut short
    };
    // a.json and its copy are read first, then b.json, broken.json, c/d.json.
    const Case cases[] = {
        {1, 4, {"a.json"}, "Cleartrace stopped after 1 of 4 scene files.", "Stopped after 1 of 4 scene files."},
        {3, 5, {"a.json"}, "Cleartrace stopped after 2 of 4 scene files.", "Stopped after 2 of 4 scene files."},
        // Pressed while the last file is cleaned: the run is whole.
        {5, 10, {"a.json", "c", "c/d.json"}, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("Escape after " + std::to_string(c.pressedAfter));
        kit::TemporaryFolder copies("clean-escape");
        host.scene.hiddenLoads = 0;
        host.ui.escapeKey.pressedAfterLoads = c.pressedAfter;
        clean({source.path(), copies.path()});
        const Rows shown = rows();
        ASSERT_EQ(shown.size(), c.rows + (c.endRow ? 1 : 0));
        if (c.endRow) {
            EXPECT_EQ(shown.back(), (Texts{c.endRow, "", "", "", "", ""}));
        }
        EXPECT_EQ(entriesBelow(copies.path()), c.copies);
        Texts notices = boxTexts();
        notices.erase(notices.begin());  // the question
        EXPECT_EQ(notices, c.notice ? Texts{c.notice} : Texts{});
    }
}

TEST_F(FolderCleanTest, ADoubleClickOpensTheCopyWhenOneWasWrittenElseTheOriginal) {
    struct Case {
        int32_t row;
        const char* opened;  // below the destination, or else the source
        bool copy;
    };
    for (const Case& c : {Case{0, "a.json", true}, Case{4, "b.json", false}}) {
        kit::TemporaryFolder copies("clean-open");
        std::vector<fs::path> opened;
        host.scene.onOpenDocument = [&](const fs::path& file) { opened.push_back(file); };
        clean({source.path(), copies.path()});
        ASSERT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, c.row, COLUMN_NAME), "");
        EXPECT_EQ(opened, std::vector<fs::path>{(c.copy ? copies.path() : source.path()) / c.opened});
        EXPECT_EQ(control(IDC_ACTION).value, entryId(FindMissing));
    }
    EXPECT_EQ(rows(), (Rows{{kit::noMissingPlugins, "", "", ""}}));
}

TEST_F(FolderCleanTest, OutOfMemoryLeavesTheRowsOfFinishedFilesAndOnlyWholeVerifiedCopies) {
    const std::string expectedA = removedAndSaved(source.path() / "a.json");
    load("{" + installed + "}");
    const int64_t before = host.services.objectCreationsRequested();
    {
        kit::TemporaryFolder copies("clean-memory");
        clean({source.path(), copies.path()});
    }
    const int64_t requests = host.services.objectCreationsRequested() - before;
    for (int64_t k = 1; k <= requests; ++k) {
        SCOPED_TRACE("object creation " + std::to_string(k) + " refused");
        kit::TemporaryFolder copies("clean-memory");
        host.services.failObjectCreation(k);
        clean({source.path(), copies.path()});
        host.services.failObjectCreation(0);
        for (const std::string& path : entriesBelow(copies.path())) {
            if (path == "c") continue;
            EXPECT_TRUE(path == "a.json" || path == "c/d.json") << path;
            EXPECT_EQ(kit::readFile(copies.path() / path), expectedA) << path;
        }
        EXPECT_EQ(host.scene.hiddenDocumentCount(), 0u);
    }
}

#ifndef _WIN32
// Whatever the host cannot make while telling where the destination lies, a
// destination reached through a link into the source is never written into.
TEST_F(FolderCleanTest, OutOfMemoryWhileTellingWhereTheDestinationLiesNeverWritesIntoTheSource) {
    fs::create_directory_symlink(source.path() / "c", destination.path() / "into-source");
    const std::vector<fs::path> chosen = {source.path(), destination.path() / "into-source" / "new"};
    const auto sourceBefore = kit::folderState(source.path());
    const int64_t before = host.services.objectCreationsRequested();
    clean(chosen);
    EXPECT_EQ(boxTexts(), Texts{kit::copiesInsideText});
    const int64_t requests = host.services.objectCreationsRequested() - before;
    for (int64_t k = 1; k <= requests; ++k) {
        SCOPED_TRACE("object creation " + std::to_string(k) + " refused");
        host.services.failObjectCreation(k);
        clean(chosen);
        host.services.failObjectCreation(0);
        const Texts shown = boxTexts();
        EXPECT_TRUE(shown == Texts{kit::copiesInsideText} || shown == Texts{kit::listIncomplete}) << shown.front();
        EXPECT_EQ(kit::folderState(source.path()), sourceBefore);
    }
}
#endif
