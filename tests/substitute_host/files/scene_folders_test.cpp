// Folders browsed for scene files: what is listed, in which order, through
// links and past what cannot be read, and the table that hands the list out.
#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "files/scene_folders.h"
#include "kernel/host_strings.h"
#include "scene_folder.h"
#include "unprivileged_child.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#endif

namespace {
namespace fs = std::filesystem;

using Listed = std::vector<std::pair<std::string, int32_t>>;

Listed listed(const fs::path& folder) {
    Listed result;
    for (const substitute::ListedFile& file : substitute::listSceneFiles(folder)) {
        result.emplace_back(file.relative, file.kind);
    }
    return result;
}

constexpr int32_t file = HOST_LISTED_SCENE_FILE;
constexpr int32_t unlistable = HOST_LISTED_UNLISTABLE_FOLDER;

TEST(SceneFolders, ListsTheJsonFilesBelowInTheByteOrderOfTheirRelativePaths) {
    kit::TemporaryFolder folder("listing");
    // Names are UTF-8, whatever the system's own code page.
    for (const char8_t* name : {u8"b.json", u8"a/z.json", u8"a/b/c.json", u8"caf\u00E9.json", u8"x.json/inner.json",
                                u8"notes.txt", u8"old.json.bak", u8"a/b/README", u8"JSON"}) {
        folder.write(fs::path(name), "{}");
    }
    fs::create_directories(folder.path() / "empty");
    Listed expected = {{"a/b/c.json", file},
                       {"a/z.json", file},
                       {"b.json", file},
                       {"caf\xC3\xA9.json", file},
                       {"x.json/inner.json", file}};
#ifndef _WIN32
    // Names that differ in case only are two files where the file system tells them apart.
    folder.write("B.json", "{}");
    expected.insert(expected.begin(), {"B.json", file});
#endif
    EXPECT_EQ(listed(folder.path()), expected);
}

TEST(SceneFolders, AFolderThatIsNotThereIsOneThatCannotBeListed) {
    kit::TemporaryFolder folder("missing");
    EXPECT_EQ(listed(folder.path() / "nowhere"), (Listed{{"", unlistable}}));
    // A file is no folder to list either.
    EXPECT_EQ(listed(folder.write("scene.json", "{}")), (Listed{{"", unlistable}}));
}

#ifndef _WIN32
TEST(SceneFolders, FollowsLinksButListsEachRealFolderOnceUnderTheFirstPathInByteOrder) {
    kit::TemporaryFolder folder("links");
    folder.write("real/s.json", "{}");
    folder.write("b.json", "{}");
    fs::create_directory_symlink("real", folder.path() / "shots");
    fs::create_directory_symlink("real", folder.path() / "real-old");  // '-' comes before '/'
    fs::create_directory_symlink("..", folder.path() / "real" / "up");
    fs::create_symlink("b.json", folder.path() / "alias.json");
    fs::create_symlink("nothing.json", folder.path() / "gone.json");
    fs::create_symlink("loop", folder.path() / "loop");
    // A link to nothing and a link round itself are scene files that will not load.
    EXPECT_EQ(listed(folder.path()),
              (Listed{{"alias.json", file}, {"b.json", file}, {"gone.json", file}, {"real-old/s.json", file}}));
}

// Each level of a diamond holds two links to the next: 2^20 paths lead to
// the bottom, which is listed once.
TEST(SceneFolders, ADiamondOfLinksIsListedOnceForEachRealFolder) {
    kit::TemporaryFolder folder("diamond");
    constexpr int levels = 20;
    for (int level = 0; level < levels; ++level) {
        const fs::path here = folder.path() / ("level" + std::to_string(level));
        fs::create_directories(here);
        folder.write("level" + std::to_string(level) + "/s.json", "{}");
        if (level + 1 < levels) {
            for (const char* side : {"left", "right"}) {
                fs::create_directory_symlink("../level" + std::to_string(level + 1), here / side);
            }
        }
    }
    std::vector<substitute::ListedFile> found;
    substitute::FolderListing listing(folder.path() / "level0");
    int64_t steps = 0;
    while (listing.listMore(1, found)) ++steps;
    ASSERT_EQ(found.size(), size_t(levels));
    std::string deepest;
    for (int level = 1; level < levels; ++level) deepest += "left/";
    EXPECT_EQ(found[0].relative, deepest + "s.json");
    EXPECT_LT(steps, 10 * levels) << "linear in the folders and entries";
}

// Made from the folder above, one name at a time, as no path reaches them:
// folders deeper than the longest path the system takes.
TEST(SceneFolders, FoldersBeyondTheLongestPathAreListed) {
    kit::TemporaryFolder folder("deep");
    const std::string name(200, 'd');
    const int levels = PATH_MAX / 200 + 2;
    int at = open(folder.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(at, 0);
    for (int level = 0; level < levels; ++level) {
        ASSERT_EQ(mkdirat(at, name.c_str(), 0755), 0);
        const int below = openat(at, name.c_str(), O_RDONLY | O_DIRECTORY);
        close(at);
        ASSERT_GE(below, 0);
        at = below;
    }
    const int scene = openat(at, "s.json", O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(scene, 0);
    close(scene);
    close(at);
    const Listed found = listed(folder.path());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].second, file);
    EXPECT_GT(found[0].first.size(), size_t(PATH_MAX));
    EXPECT_TRUE(found[0].first.ends_with(name + "/s.json"));
}

// Without read permission a folder's names cannot be read; without search
// permission its entries cannot be looked at, nor gone into.
TEST(SceneFolders, AFolderWhoseEntriesCannotBeReadIsListedWhereItsFilesWouldBe) {
    kit::TemporaryFolder folder("sealed");
    folder.write("sealed/hidden.json", "{}");
    folder.write("unsearchable/inner/hidden.json", "{}");
    folder.write("unsearchable/kept.json", "{}");
    folder.write("z.json", "{}");
    fs::permissions(folder.path() / "sealed", fs::perms::none);
    fs::permissions(folder.path() / "unsearchable", fs::perms::owner_read | fs::perms::others_read);
    const kit::ChildRun run = kit::runUnprivileged([&](std::string& output) {
        for (const auto& [relative, kind] : listed(folder.path()))
            output += relative + " " + std::to_string(kind) + "\n";
        return 0;
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "sealed 2\nunsearchable/inner 2\nunsearchable/kept.json 1\nz.json 1\n");
}
#endif

class BrowseTable : public ::testing::Test {
protected:
    std::string relative(HostFileList* list, int32_t index) {
        HostString* text = t.t_C4DOS_Bf->relativePath(list, index);
        std::string result(substitute::text(text, "test"));
        substitute::releaseString(text);
        return result;
    }

    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
    kit::TemporaryFolder folder{"browse"};
};

TEST_F(BrowseTable, HandsOutTheListStepByStepInNoStatedOrderWithPathsThatGoWithIt) {
    folder.write("a.json", "{}");
    folder.write("sub/b.json", "{}");
    HostString* text = substitute::makeString(folder.path().string());
    HostPath* where = t.t_C4DOS_Fn->fromString(text);
    substitute::releaseString(text);
    const int64_t paths = host.services.livePaths();
    HostFileList* list = t.t_C4DOS_Bf->beginSceneFiles(where);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(t.t_C4DOS_Bf->count(list), 0) << "nothing listed before listMore";
    int32_t steps = 1;
    while (t.t_C4DOS_Bf->listMore(list, 1) == HOST_LISTING_MORE) ++steps;
    EXPECT_GT(steps, 4) << "one entry a step";
    ASSERT_EQ(t.t_C4DOS_Bf->count(list), 2);
    t.t_C4DOS_Bf->free(list);

    list = t.t_C4DOS_Bf->beginSceneFiles(where);
    ASSERT_EQ(t.t_C4DOS_Bf->listMore(list, 100), HOST_LISTING_DONE);
    ASSERT_EQ(t.t_C4DOS_Bf->count(list), 2);
    // Each step's entries in reverse, so a module that does not sort shows it.
    EXPECT_EQ(relative(list, 0), "sub/b.json");
    EXPECT_EQ(relative(list, 1), "a.json");
    EXPECT_EQ(t.t_C4DOS_Bf->kind(list, 1), HOST_LISTED_SCENE_FILE);
    text = t.t_C4DOS_Fn->toString(t.t_C4DOS_Bf->path(list, 1));
    EXPECT_EQ(substitute::text(text, "test"), (folder.path() / "a.json").string());
    substitute::releaseString(text);
    EXPECT_GT(host.services.livePaths(), paths);
    EXPECT_EQ(host.services.liveObjects() - host.services.livePaths(), 1) << "the list is a host object";
    t.t_C4DOS_Bf->free(list);
    EXPECT_EQ(host.services.livePaths(), paths) << "the list's paths go with it";

    host.services.failObjectCreation(1);
    EXPECT_EQ(t.t_C4DOS_Bf->beginSceneFiles(where), nullptr);
    // An entry's path refused: the entries so far stay, and the listing ends.
    list = t.t_C4DOS_Bf->beginSceneFiles(where);
    host.services.failObjectCreation(2);
    EXPECT_EQ(t.t_C4DOS_Bf->listMore(list, 100), HOST_LISTING_OUT_OF_MEMORY);
    EXPECT_EQ(t.t_C4DOS_Bf->count(list), 1);
    t.t_C4DOS_Bf->free(list);
    EXPECT_EQ(host.services.livePaths(), paths);
    t.t_C4DOS_Fn->free(where);
}

// Without a folder of its own: a death test runs its test again up to the
// statement that dies, which would leave a second folder behind.
TEST(BrowseTableFaults, AnIndexOutsideTheListAFreedListOrAListingPastItsEndIsAFault) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
    HostPath* nowhere = t.t_C4DOS_Fn->create();
    nowhere->path = std::filesystem::temp_directory_path() / "cleartrace-no-such-folder" / "below";
    HostFileList* list = t.t_C4DOS_Bf->beginSceneFiles(nowhere);
    EXPECT_DEATH(t.t_C4DOS_Bf->listMore(list, 0), "Bf.listMore: budget 0 is not positive");
    ASSERT_EQ(t.t_C4DOS_Bf->listMore(list, 1), HOST_LISTING_DONE);
    ASSERT_EQ(t.t_C4DOS_Bf->count(list), 1) << "the folder that cannot be listed";
    EXPECT_DEATH(t.t_C4DOS_Bf->listMore(list, 1), "Bf.listMore: the listing already ended");
    EXPECT_DEATH(t.t_C4DOS_Bf->kind(list, 1), "Bf.kind: index 1 outside 0..0");
    t.t_C4DOS_Bf->free(list);
    EXPECT_DEATH(t.t_C4DOS_Bf->count(list), "Bf.count: file list handle .* is not live");
    EXPECT_DEATH(t.t_C4DOS_Bf->listMore(list, 1), "Bf.listMore: file list handle .* is not live");
    t.t_C4DOS_Fn->free(nowhere);
}

}  // namespace
