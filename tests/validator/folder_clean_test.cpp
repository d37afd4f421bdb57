// The validator's judge of a folder clean must bite on every way a clean can
// leave the disk wrong, and pass the disk a truthful clean leaves: the
// searched folder changed, a file of the destination written over or taken,
// a temporary file or an unnamed copy left, a row that names a copy not
// there or claims a file was already there when none was.
#include <gtest/gtest.h>

#include <fstream>

#include "checks/folder_clean.h"
#include "checks/random_scene.h"
#include "expected_notices.h"
#include "scene_folder.h"

namespace {
namespace fs = std::filesystem;
using validator::Rows;

void write(const fs::path& file, const char* text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::vector<std::string> row(const std::string& file, const std::string& copy) {
    return {file, "2000001", "Tag", "1", "Old", copy};
}

TEST(FolderCleanJudge, NamesWhatTheCleanLeftWrongAndPassesATruthfulOne) {
    struct Case {
        const char* what;
        void (*change)(const fs::path& source, const fs::path& destination);  // after the "before" state
        Rows rows;
        const char* problem;  // "" when the disk is as the rows say
    };
    const Case cases[] = {
        {"a truthful clean",
         [](const fs::path&, const fs::path& d) { write(d / "sub/b.json", "copy"); },
         {row("a.json", kit::copyExists),
          row("sub/b.json", "sub/b.json"),
          {"c.json", kit::nothingToRemove, "", "", "", ""}},
         ""},
        {"the source changed",
         [](const fs::path& s, const fs::path&) { write(s / "c.json", "changed"); },
         {},
         "the clean changed c.json in the searched folder (bytes or times)"},
        {"a file written over",
         [](const fs::path&, const fs::path& d) { write(d / "a.json", "copy"); },
         {row("a.json", "a.json")},
         "the clean wrote over a.json, which was in the destination before"},
        {"a temporary file left",
         [](const fs::path&, const fs::path& d) { write(d / "c.json.saving-1", "co"); },
         {},
         "the clean left c.json.saving-1 in the destination, which no row names"},
        {"a copy named but not there",
         [](const fs::path&, const fs::path&) {},
         {row("sub/b.json", "sub/b.json")},
         "the row of sub/b.json names a copy the destination does not hold"},
        {"a file already there that was not",
         [](const fs::path&, const fs::path&) {},
         {row("sub/b.json", kit::copyExists)},
         "the row of sub/b.json says \"Not written: a file is already there.\", but nothing was there"},
        {"a copy that did not verify",
         [](const fs::path&, const fs::path&) {},
         {row("sub/b.json", kit::copyNotVerified)},
         "the row of sub/b.json says \"The cleaned copy did not verify.\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const kit::TemporaryFolder source("judge-source");
        const kit::TemporaryFolder destination("judge-copies");
        for (const char* file : {"a.json", "sub/b.json", "c.json"}) source.write(file, "{}");
        destination.write("a.json", "someone else's");
        const validator::CleanFolders folders = validator::cleanFoldersBefore(source.path(), destination.path());
        c.change(source.path(), destination.path());
        EXPECT_EQ(validator::cleanLeft(folders, c.rows, false), c.problem);
    }
}

TEST(FolderCleanJudge, ARandomFileInstallsWhatTheStartSceneInstalls) {
    validator::Choices choices(7);
    const std::string start = validator::randomScene(choices, {});
    const std::string file = validator::randomScene(choices, {});
    const std::string installing = validator::withPluginsOf(file, start);
    const auto records = [](const std::string& scene) { return scene.substr(0, scene.find("\"objects\"")); };
    EXPECT_EQ(records(installing), records(start));
    EXPECT_EQ(installing.substr(records(installing).size()), file.substr(records(file).size()));
}

}  // namespace
