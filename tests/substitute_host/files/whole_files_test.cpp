// Files written whole or not at all: an earlier file stays as it was when
// the new one cannot be written, and nothing is left beside it.
#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "files/whole_files.h"
#include "read_file.h"
#include "scene_folder.h"

namespace {
namespace fs = std::filesystem;

size_t entries(const fs::path& folder) {
    return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(WholeFiles, ReplaceAnEarlierFileWhole) {
    kit::TemporaryFolder folder("whole");
    const fs::path file = folder.write("list.csv", "an earlier list, longer than the new one");
    std::string error;
    ASSERT_TRUE(substitute::writeFileWhole(file, "new", &error)) << error;
    EXPECT_EQ(kit::readFile(file), "new");
    EXPECT_EQ(entries(folder.path()), 1u);
}

TEST(WholeFiles, AFileThatCannotBeWrittenLeavesEverythingAsItWas) {
    kit::TemporaryFolder folder("unwritten");
    const fs::path taken = folder.path() / "taken.csv";
    fs::create_directory(taken);
    folder.write("taken.csv/inside.txt", "kept");
    std::string error;
    EXPECT_FALSE(substitute::writeFileWhole(taken, "list", &error));
    EXPECT_NE(error.find("cannot write " + taken.string()), std::string::npos) << error;
    EXPECT_EQ(kit::readFile(taken / "inside.txt"), "kept");
    EXPECT_FALSE(substitute::writeFileWhole(folder.path() / "no" / "such" / "folder.csv", "list"));
    EXPECT_EQ(entries(folder.path()), 1u) << "nothing left beside";
}

#ifndef _WIN32
// A file the user made read-only for others, or reached through a link,
// stays so: its permissions kept, the link a link to the new bytes.
TEST(WholeFiles, AReplacedFileKeepsItsPermissionsAndALinkIsWrittenThrough) {
    kit::TemporaryFolder folder("kept");
    const fs::path file = folder.write("lists/list.csv", "old");
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, mode);
    fs::create_symlink("lists/list.csv", folder.path() / "latest.csv");
    std::string error;
    ASSERT_TRUE(substitute::writeFileWhole(folder.path() / "latest.csv", "new", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(folder.path() / "latest.csv"));
    EXPECT_EQ(kit::readFile(file), "new");
    EXPECT_EQ(fs::status(file).permissions(), mode);
    EXPECT_EQ(entries(folder.path()), 2u) << "nothing left beside the link";
    EXPECT_EQ(entries(folder.path() / "lists"), 1u) << "nothing left beside the target";
}
#endif

TEST(WholeFiles, TheFileTableRecordsWhatTheModuleWrote) {
    substitute::SubstituteHost host;
    kit::TemporaryFolder folder("table");
    HostPath* file = host.tables()->t_C4DOS_Fn->create();
    file->path = folder.path() / "out.csv";
    const char bytes[] = "a,b\r\n";
    EXPECT_TRUE(host.tables()->t_C4DOS_Fi->writeWhole(file, bytes, 5));
    EXPECT_EQ(kit::readFile(file->path), "a,b\r\n");
    EXPECT_EQ(host.ui.writtenFiles, (std::vector<fs::path>{file->path}));
    host.tables()->t_C4DOS_Fn->free(file);
}

// Without a folder: a death test runs its test again up to the statement that dies.
TEST(WholeFiles, ANegativeLengthIsAFault) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    substitute::SubstituteHost host;
    HostPath* file = host.tables()->t_C4DOS_Fn->create();
    EXPECT_DEATH(host.tables()->t_C4DOS_Fi->writeWhole(file, "", -1), "Fi.writeWhole: no bytes of that length");
    host.tables()->t_C4DOS_Fn->free(file);
}

}  // namespace
