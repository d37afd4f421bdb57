// Folder runs through the program: the example project's session lists what
// its files hold, cleans them into a temporary folder and writes the CSVs a
// spreadsheet reads; the example project's copies are the expected files;
// Escape stops a run; and nothing below the folder changes on disk, whatever
// it holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>

#include "read_file.h"
#include "run_driver.h"
#include "scene_folder.h"
#include "unprivileged_child.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {
namespace fs = std::filesystem;

const fs::path source = CLEARTRACE_SOURCE_DIR;
// What cleaning the example project writes: its copies below copies/, and the
// list saved as CSV. UPDATE_GOLDEN=1 writes them anew.
const fs::path expectedClean = source / "tests" / "driver" / "expected_clean";
const fs::path expectedCleanList = expectedClean / "studio_cleaned_copies.csv";

const char* const studioList =
    "list: 14 rows\n"
    "  Scene File\tPlugin ID\tType\tInstances\tName\n"
    "  assets/broken_export.json\tCould not open this file.\t\t\t\n"
    "  assets/props/lamp.json\tNo missing plugins found.\t\t\t\n"
    "  assets/props/old_crate.json\t1234567\tTag\t1\tLegacy Glow\n"
    "  assets/props/old_crate.json\t1050001\tTag\t1\tScatter Tag\n"
    "  assets/props/old_crate.json\t1234567\tShader\t1\tLegacy Glow\n"
    "  shots/sh010/sh010_layout.json\t1234567\tTag\t2\tGlow, soft\n"
    "  shots/sh010/sh010_layout.json\t1234567\tShader\t1\tLegacy Glow\n"
    "  shots/sh010/sh010_layout.json\t1234567\tObject\t1\tGlow Emitter\n"
    "  shots/sh010/sh010_lighting.json\tNo missing plugins found.\t\t\t\n"
    "  shots/sh020/sh020_animation.json\t1060002\tTag\t1\tOld \"Bake\" Tag\n"
    "  shots/sh020/sh020_animation.json\t1050002\tShader\t1\tCloud Shader\n"
    "  shots/sh020/sh020_animation.json\t1060001\tObject\t1\tShatter\n"
    "  shots/sh020/sh020_animation.json\t1050010\tPost Effect\t2\tSharpen\n"
    "  shots/sh020/sh020_animation.json\t1060003\tMaterial\t1\tToon Outline\n";

const char* const studioCsv =
    "Scene File,Plugin ID,Type,Instances,Name\r\n"
    "assets/broken_export.json,Could not open this file.,,,\r\n"
    "assets/props/lamp.json,No missing plugins found.,,,\r\n"
    "assets/props/old_crate.json,1234567,Tag,1,Legacy Glow\r\n"
    "assets/props/old_crate.json,1050001,Tag,1,Scatter Tag\r\n"
    "assets/props/old_crate.json,1234567,Shader,1,Legacy Glow\r\n"
    "shots/sh010/sh010_layout.json,1234567,Tag,2,\"Glow, soft\"\r\n"
    "shots/sh010/sh010_layout.json,1234567,Shader,1,Legacy Glow\r\n"
    "shots/sh010/sh010_layout.json,1234567,Object,1,Glow Emitter\r\n"
    "shots/sh010/sh010_lighting.json,No missing plugins found.,,,\r\n"
    "shots/sh020/sh020_animation.json,1060002,Tag,1,\"Old \"\"Bake\"\" Tag\"\r\n"
    "shots/sh020/sh020_animation.json,1050002,Shader,1,Cloud Shader\r\n"
    "shots/sh020/sh020_animation.json,1060001,Object,1,Shatter\r\n"
    "shots/sh020/sh020_animation.json,1050010,Post Effect,2,Sharpen\r\n"
    "shots/sh020/sh020_animation.json,1060003,Material,1,Toon Outline\r\n";

const char* const studioCleanList =
    "list: 14 rows\n"
    "  Scene File\tPlugin ID\tType\tInstances\tName\tCleaned Copy\n"
    "  assets/broken_export.json\tCould not open this file.\t\t\t\t\n"
    "  assets/props/lamp.json\tNothing to remove.\t\t\t\t\n"
    "  assets/props/old_crate.json\t1234567\tTag\t1\tLegacy Glow\tassets/props/old_crate.json\n"
    "  assets/props/old_crate.json\t1050001\tTag\t1\tScatter Tag\tassets/props/old_crate.json\n"
    "  assets/props/old_crate.json\t1234567\tShader\t1\tLegacy Glow\tassets/props/old_crate.json\n"
    "  shots/sh010/sh010_layout.json\t1234567\tTag\t2\tGlow, soft\tshots/sh010/sh010_layout.json\n"
    "  shots/sh010/sh010_layout.json\t1234567\tShader\t1\tLegacy Glow\tshots/sh010/sh010_layout.json\n"
    "  shots/sh010/sh010_layout.json\t1234567\tObject\t1\tGlow Emitter\tshots/sh010/sh010_layout.json\n"
    "  shots/sh010/sh010_lighting.json\tNothing to remove.\t\t\t\t\n"
    "  shots/sh020/sh020_animation.json\t1060002\tTag\t1\tOld \"Bake\" Tag\tshots/sh020/sh020_animation.json\n"
    "  shots/sh020/sh020_animation.json\t1050002\tShader\t1\tCloud Shader\tshots/sh020/sh020_animation.json\n"
    "  shots/sh020/sh020_animation.json\t1060001\tObject\t1\tShatter\tshots/sh020/sh020_animation.json\n"
    "  shots/sh020/sh020_animation.json\t1050010\tPost Effect\t2\tSharpen\tshots/sh020/sh020_animation.json\n"
    "  shots/sh020/sh020_animation.json\t1060003\tMaterial\t1\tToon Outline\tshots/sh020/sh020_animation.json\n";

// Every regular file below folder, by relative path, with its bytes.
std::map<std::string, std::string> filesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[entry.path().lexically_relative(folder).generic_string()] = kit::readFile(entry.path());
        }
    }
    return files;
}

bool updatingGolden() {
    const char* update = std::getenv("UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

#ifndef _WIN32
// While it lives, the system's temporary folder is folder, for the driver's
// tempfolder.
class TemporaryFolderOfTheSystem {
public:
    explicit TemporaryFolderOfTheSystem(const fs::path& folder) {
        const char* was = std::getenv("TMPDIR");
        if (was != nullptr) previous_ = was;
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolderOfTheSystem() {
        if (previous_) {
            setenv("TMPDIR", previous_->c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }
    TemporaryFolderOfTheSystem(const TemporaryFolderOfTheSystem&) = delete;
    TemporaryFolderOfTheSystem& operator=(const TemporaryFolderOfTheSystem&) = delete;

private:
    std::optional<std::string> previous_;
};
#endif

// The example session, run as the README runs it from the source folder, in
// a copy of the example folders, so that its CSVs land in the copy.
TEST(FolderSession, TheExampleProjectsSessionListsAndCleansItsFilesAndWritesTheirCsv) {
    kit::TemporaryFolder work("studio");
    fs::copy(source / "example_scenes", work.path() / "example_scenes", fs::copy_options::recursive);
    const auto before = kit::folderState(work.path() / "example_scenes");
    WorkingFolder here(work.path());
#ifndef _WIN32
    const kit::TemporaryFolder temporary("studio-temporary");
    const TemporaryFolderOfTheSystem system(temporary.path());
#endif
    const DriverRun run = runDriver({"--script", "example_scenes/studio_project.session"});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.errors, "");
    EXPECT_NE(run.output.find(std::string("> list\n") + studioList), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("wrote file: studio_missing_plugins.csv\n"), std::string::npos) << run.output;
    EXPECT_EQ(kit::readFile("studio_missing_plugins.csv"), studioCsv);
    // The clean, its temporary folder named as such wherever it is shown.
    EXPECT_NE(run.output.find("folder chooser: Choose a folder for the cleaned copies\nanswer: <temporary folder>\n"
                              "question: Write a copy without missing plug-ins of every scene file below "
                              "example_scenes/studio_project into <temporary folder>?\nanswer: yes\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find(std::string("> list\n") + studioCleanList), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("wrote file: studio_cleaned_copies.csv\n"), std::string::npos) << run.output;
    EXPECT_EQ(kit::readFile("studio_cleaned_copies.csv"), kit::readFile(expectedCleanList));
    EXPECT_NE(run.output.find("opened scene: <temporary folder>/assets/props/old_crate.json\n"), std::string::npos)
        << run.output;
    EXPECT_EQ(kit::folderState(work.path() / "example_scenes"), before) << "the session saves no scene";
#ifndef _WIN32
    EXPECT_EQ(kit::folderState(temporary.path()), (std::map<std::string, std::string>{}))
        << "the temporary folder goes with the session";
#endif
}

#ifndef _WIN32
// A temporary folder's place differs from run to run: the output, in text and
// JSON, names each by what it is, and none outlives the session.
TEST(FolderSession, TemporaryFoldersAreShownByNameAndGoWithTheSession) {
    const kit::TemporaryFolder temporary("session-temporary");
    const TemporaryFolderOfTheSystem system(temporary.path());
    const std::string clean = "action remove-missing-folder; folder \"" +
                              (source / "example_scenes" / "studio_project").string() + "\"; tempfolder; process";
    const std::string commands = "open; " + clean + "; dblclick 2; " + clean;
    for (const bool json : {false, true}) {
        SCOPED_TRACE(json ? "json" : "text");
        std::vector<std::string> args = {"-c", commands};
        if (json) args.insert(args.begin(), "--json");
        const DriverRun run = runDriver(args);
        EXPECT_EQ(run.status, 0) << run.output << run.errors;
        EXPECT_EQ(run.output.find(temporary.path().string()), std::string::npos) << run.output;
        const std::string opened = json ? "{\"event\":\"opened-scene\",\"path\":\"<temporary folder>/assets/props/"
                                          "old_crate.json\"}"
                                        : "opened scene: <temporary folder>/assets/props/old_crate.json\n";
        EXPECT_NE(run.output.find(opened), std::string::npos) << run.output;
        EXPECT_NE(
            run.output.find("of every scene file below " + (source / "example_scenes" / "studio_project").string() +
                            " into <temporary folder 2>?"),
            std::string::npos)
            << run.output;
        EXPECT_EQ(kit::folderState(temporary.path()), (std::map<std::string, std::string>{}));
    }
}
#endif

// Each copy of the example project is the file kept under expected_clean/,
// byte for byte, and so is the list saved; nothing else is written.
TEST(FolderSession, TheExampleProjectCleansIntoTheExpectedCopies) {
    kit::TemporaryFolder copies("studio-copies");
    kit::TemporaryFolder lists("studio-lists");
    const fs::path list = lists.path() / "studio_cleaned_copies.csv";
    const std::string commands = "open; action remove-missing-folder; folder \"" +
                                 (source / "example_scenes" / "studio_project").string() + "\"; folder \"" +
                                 copies.path().string() + "\"; process; savefile \"" + list.string() + "\"; save-list";
    const DriverRun run = runDriver({"-c", commands});
    ASSERT_EQ(run.status, 0) << run.output << run.errors;
    const auto written = filesBelow(copies.path());
    if (updatingGolden()) {
        fs::remove_all(expectedClean);
        for (const auto& [relative, bytes] : written) {
            fs::create_directories((expectedClean / "copies" / relative).parent_path());
            std::ofstream(expectedClean / "copies" / relative, std::ios::binary) << bytes;
        }
        fs::create_directories(expectedClean);
        fs::copy_file(list, expectedCleanList);
    }
    EXPECT_EQ(written, filesBelow(expectedClean / "copies")) << "UPDATE_GOLDEN=1 writes them anew";
    EXPECT_EQ(kit::readFile(list), kit::readFile(expectedCleanList));
    const std::vector<std::string> copied = {"assets/props/old_crate.json", "shots/sh010/sh010_layout.json",
                                             "shots/sh020/sh020_animation.json"};
    std::vector<std::string> names;
    for (const auto& [relative, bytes] : written) names.push_back(relative);
    EXPECT_EQ(names, copied) << "the files with missing plug-ins, and nothing else";
}

TEST(FolderSession, EscapeStopsTheRunOnceTheFilesAreSearched) {
    const std::string commands = "open; action find-missing-folder; folder " +
                                 (source / "example_scenes" / "studio_project").generic_string() + "; process; list";
    const DriverRun stopped = runDriver({"--escape-after", "3", "-c", commands});
    EXPECT_EQ(stopped.status, 0);
    EXPECT_NE(stopped.output.find("status: Cleartrace: assets/props/old_crate.json (3 of 6)\nstatus bar: 33%\n"
                                  "status cleared\nnotice: Cleartrace stopped after 3 of 6 scene files.\n> list\n"
                                  "list: 6 rows\n"),
              std::string::npos)
        << stopped.output;
    EXPECT_NE(stopped.output.find("  Stopped after 3 of 6 scene files.\t\t\t\t\n"), std::string::npos)
        << stopped.output;
    const DriverRun json = runDriver({"--json", "--escape-after", "0", "-c", commands});
    EXPECT_NE(json.output.find("{\"event\":\"status\",\"text\":\"Cleartrace: assets/broken_export.json (1 of 6)\"}\n"
                               "{\"event\":\"status-bar\",\"percent\":0}\n{\"event\":\"status-cleared\"}\n"
                               "{\"event\":\"notice\",\"text\":\"Cleartrace stopped after 1 of 6 scene files.\"}\n"),
              std::string::npos)
        << json.output;
}

#ifndef _WIN32
// Every kind of entry a project folder may hold, searched by a user who may
// not read all of it: each keeps its bytes, its permissions and its time.
TEST(FolderSession, NothingBelowTheFolderChangesOnDisk) {
    kit::TemporaryFolder folder("untouched");
    const fs::path& root = folder.path();
    folder.write("a/missing.json", R"({"objects": [{"name": "X", "type": 2000001}]})");
    folder.write("a/b/clean.json", R"({"objects": [{"name": "Null", "type": 5140}]})");
    folder.write("broken.json", "{\"objects\": [");
    folder.write("empty.json", "");
    folder.write("not-a-scene.json", "[1, 2, 3]");
    folder.write("notes.txt", "not a scene file");
    folder.write("locked.json", R"({"objects": []})");
    folder.write("sealed/inside.json", R"({"objects": []})");
    fs::create_symlink("a/missing.json", root / "link.json");
    fs::create_symlink("nowhere.json", root / "dangling.json");
    fs::create_directory_symlink("..", root / "a" / "up");
    ASSERT_EQ(mkfifo((root / "pipe.json").c_str(), 0644), 0);
    fs::permissions(root / "locked.json", fs::perms::none);
    fs::permissions(root / "sealed", fs::perms::none);
    // Times far from now, so that a file written again would show it.
    for (const char* entry : {"a/missing.json", "a/b/clean.json", "broken.json", "empty.json", "a", "."}) {
        fs::last_write_time(root / entry, fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    }
    const auto before = kit::folderState(root);

    const std::string search = "action find-missing-folder; folder " + root.string() + "; process; ";
    const std::string commands = "open; " + search + "list; dblclick 6; dblclick 5; " + search + "dblclick 1; scene";
    const kit::ChildRun run = kit::runUnprivileged([&](std::string& output) {
        const DriverRun driven = runDriver({"-c", commands});
        output = driven.output;
        return driven.status;
    });
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("list: 10 rows\n"
                              "  Scene File\tPlugin ID\tType\tInstances\tName\n"
                              "  a/b/clean.json\tNo missing plugins found.\t\t\t\n"
                              "  a/missing.json\t2000001\tObject\t1\tX\n"
                              "  broken.json\tCould not open this file.\t\t\t\n"
                              "  dangling.json\tCould not open this file.\t\t\t\n"
                              "  empty.json\tCould not open this file.\t\t\t\n"
                              "  link.json\t2000001\tObject\t1\tX\n"
                              "  locked.json\tCould not open this file.\t\t\t\n"
                              "  not-a-scene.json\tCould not open this file.\t\t\t\n"
                              "  pipe.json\tCould not open this file.\t\t\t\n"
                              "  sealed/\tCould not list this folder.\t\t\t\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("notice: Cleartrace could not open locked.json.\n"), std::string::npos);
    EXPECT_NE(run.output.find("opened scene: " + (root / "link.json").generic_string()), std::string::npos);
    EXPECT_NE(run.output.find("opened scene: " + (root / "a" / "missing.json").generic_string()), std::string::npos);
    EXPECT_EQ(kit::folderState(root), before);
}
#endif

}  // namespace
