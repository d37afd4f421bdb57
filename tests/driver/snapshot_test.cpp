// The snapshot command: a picture of the window as it is now, the same bytes
// for the same window on every target, sized by the layout; and the example
// pictures in docs/ kept equal to what the command makes of the example scene.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "picture/svg_document.h"
#include "read_file.h"
#include "snapshot_session.h"

namespace {
namespace fs = std::filesystem;

const fs::path committedPicture = fs::path(CLEARTRACE_SOURCE_DIR) / "docs" / "dialog.svg";
const fs::path committedMissingPicture = fs::path(CLEARTRACE_SOURCE_DIR) / "docs" / "missing_plugins.svg";
const fs::path committedFolderPicture = fs::path(CLEARTRACE_SOURCE_DIR) / "docs" / "folder_search.svg";
const fs::path committedCleanPicture = fs::path(CLEARTRACE_SOURCE_DIR) / "docs" / "folder_clean.svg";

using SnapshotTest = SnapshotSession;

// picture is the committed one, or (with UPDATE_GOLDEN set) becomes it; the
// message names the driver's command line that draws it from the source folder.
void expectCommitted(const std::string& picture, const fs::path& committed, const std::string& commands,
                     const std::string& scene = " example_scenes/legacy_plugins.json") {
    if (std::getenv("UPDATE_GOLDEN") != nullptr) std::ofstream(committed, std::ios::binary) << picture;
    EXPECT_TRUE(picture == kit::readFile(committed))
        << committed.generic_string()
        << " differs from what the driver draws now; write it anew with UPDATE_GOLDEN=1 or with\n"
           "  cleartrace-host -c \"" +
               commands + "\"" + scene;
}

TEST_F(SnapshotTest, PictureIsTheWindowAsItIsNow) {
    const std::string listed = snapshot("listed.svg");
    const substitute::DialogLayout laidOut = layout();
    EXPECT_EQ(listed.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    EXPECT_NE(listed.find(" version=\"1.1\" width=\"" + std::to_string(laidOut.width) + "\" height=\"" +
                          std::to_string(laidOut.height) + "\""),
              std::string::npos);
    for (const char* text : {">Cleartrace<", ">Help<", ">Options<", ">Generate List<", ">1234567<", ">Process<",
                             ">Object With Tag<", ">Tag Name<", ">Glow Emitter.2<", ">Legacy Glow.1<"}) {
        EXPECT_NE(listed.find(text), std::string::npos) << text;
    }
    // The same window gives the same bytes; a change of the window shows.
    EXPECT_EQ(snapshot("again.svg"), listed);
    run("action identify");
    const std::string identifying = snapshot("identify.svg");
    EXPECT_NE(identifying.find(">Identify Plugin<"), std::string::npos);
    EXPECT_EQ(identifying.find(">Object With Tag<"), std::string::npos);  // the list draws nothing then
}

TEST_F(SnapshotTest, SizeOptionAndRefusals) {
    ASSERT_TRUE(session.run({"snapshot", (folder / "large.svg").string(), "1000x700"}, "test")) << shown.str();
    EXPECT_NE(kit::readFile(folder / "large.svg").find(" width=\"1000\" height=\"700\""), std::string::npos);

    for (const char* size : {"1000", "x700", "0x700", "1000x-5", "1000x700x", "huge"}) {
        EXPECT_FALSE(session.run({"snapshot", (folder / "bad.svg").string(), size}, "test")) << size;
    }
    EXPECT_FALSE(fs::exists(folder / "bad.svg"));
    EXPECT_FALSE(session.run({"snapshot", (folder / "no-such-folder" / "x.svg").string()}, "test"));
    run("close");
    EXPECT_FALSE(session.run({"snapshot", (folder / "closed.svg").string()}, "test"));
    EXPECT_NE(shown.str().find("snapshot: the window is closed"), std::string::npos);
}

// Names come from scene files: whatever bytes they hold, the picture stays well-formed XML.
TEST(SvgText, EscapesMarkupAndReplacesWhatXmlCannotHold) {
    EXPECT_EQ(substitute::xmlText("Glow & <Bloom> \"1\""), "Glow &amp; &lt;Bloom&gt; &quot;1&quot;");
    EXPECT_EQ(substitute::xmlText("Kugel \xC3\xBC \xE2\x82\xAC \xF0\x9F\x99\x82"),
              "Kugel \xC3\xBC \xE2\x82\xAC \xF0\x9F\x99\x82");
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(substitute::xmlText(std::string("a\x01"
                                              "b\x7F",
                                              4)),
              "a" + replacement + "b\x7F");
    EXPECT_EQ(substitute::xmlText("tab\tline\nend"), "tab line end");
    EXPECT_EQ(substitute::xmlText("\xC3"), replacement);                                      // cut short
    EXPECT_EQ(substitute::xmlText("\xC0\xAF"), replacement + replacement);                    // overlong
    EXPECT_EQ(substitute::xmlText("\xED\xA0\x80"), replacement + replacement + replacement);  // surrogate
    EXPECT_EQ(substitute::xmlText("\xEF\xBF\xBF"), replacement);                              // U+FFFF
    EXPECT_EQ(substitute::xmlText(std::string("\0", 1)), replacement);
}

TEST_F(SnapshotTest, CommittedExamplePictureIsCurrent) {
    const fs::path file = folder / "example.svg";
    ASSERT_TRUE(session.run({"snapshot", file.string(), "520x400"}, "test")) << shown.str();
    const std::string picture = kit::readFile(file);
    expectCommitted(picture, committedPicture, "open; id 1234567; process; snapshot docs/dialog.svg 520x400");
}

// The help file's picture of Find Missing Plugins: the program itself, in a
// session of its own from a freshly opened window, as the command in the
// message makes it.
TEST(SnapshotProgramTest, CommittedMissingPluginsPictureIsCurrent) {
    const fs::path folder = fs::path(::testing::TempDir()) / "cleartrace-missing-plugins-picture";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "missing_plugins.svg";
    const DriverRun run =
        runDriver({"-c", "open; action find-missing; process; snapshot \"" + file.string() + "\" 520x424",
                   exampleScene.string()});
    ASSERT_EQ(run.status, 0) << run.output << run.errors;
    const std::string picture = kit::readFile(file);
    fs::remove_all(folder);
    // Every row shows, the last ones too: the shader a light owns, the
    // missing generator object, the video post of render settings that are
    // not active and the material of a render engine.
    for (const char* text : {">Find Missing Plugins<", ">Plugin ID<", ">Instances<", ">Gobo<", ">Glow Emitter.1<",
                             ">Forest Generator<", ">Sharpen<", ">Render Engine<", ">Render Engine Material<"}) {
        EXPECT_NE(picture.find(text), std::string::npos) << text;
    }
    expectCommitted(picture, committedMissingPicture,
                    "open; action find-missing; process; snapshot docs/missing_plugins.svg 520x424");
}

// The help file's picture of a folder search: the example project, found from
// an empty scene.
TEST(SnapshotProgramTest, CommittedFolderSearchPictureIsCurrent) {
    const fs::path folder = fs::path(::testing::TempDir()) / "cleartrace-folder-search-picture";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "folder_search.svg";
    const fs::path project = fs::path(CLEARTRACE_SOURCE_DIR) / "example_scenes" / "studio_project";
    const DriverRun run = runDriver({"-c", "open; action find-missing-folder; folder \"" + project.string() +
                                               "\"; process; snapshot \"" + file.string() + "\" 1000x488"});
    ASSERT_EQ(run.status, 0) << run.output << run.errors;
    const std::string picture = kit::readFile(file);
    fs::remove_all(folder);
    for (const char* text : {">Find Missing Plugins in Folder<", ">Scene File<", ">Could not open this file.<",
                             ">shots/sh020/sh020_animation.json<", ">Toon Outline<"}) {
        EXPECT_NE(picture.find(text), std::string::npos) << text;
    }
    expectCommitted(picture, committedFolderPicture,
                    "open; action find-missing-folder; folder example_scenes/studio_project; process; snapshot "
                    "docs/folder_search.svg 1000x488",
                    "");
}

// The help file's picture of a clean: the example project cleaned into a
// temporary folder, from an empty scene.
TEST(SnapshotProgramTest, CommittedFolderCleanPictureIsCurrent) {
    const fs::path folder = fs::path(::testing::TempDir()) / "cleartrace-folder-clean-picture";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "folder_clean.svg";
    const fs::path project = fs::path(CLEARTRACE_SOURCE_DIR) / "example_scenes" / "studio_project";
    const DriverRun run = runDriver({"-c", "open; action remove-missing-folder; folder \"" + project.string() +
                                               "\"; tempfolder; process; snapshot \"" + file.string() + "\" 1200x488"});
    ASSERT_EQ(run.status, 0) << run.output << run.errors;
    const std::string picture = kit::readFile(file);
    fs::remove_all(folder);
    for (const char* text : {">Remove Missing Plugins in Folder<", ">Cleaned Copy<", ">Nothing to remove.<",
                             ">shots/sh020/sh020_animation.json<", ">Toon Outline<"}) {
        EXPECT_NE(picture.find(text), std::string::npos) << text;
    }
    expectCommitted(picture, committedCleanPicture,
                    "open; action remove-missing-folder; folder example_scenes/studio_project; tempfolder; process; "
                    "snapshot docs/folder_clean.svg 1200x488",
                    "");
}

}  // namespace
