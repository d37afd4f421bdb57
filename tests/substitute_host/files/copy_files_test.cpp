// The files the module makes for its copies: a document saved as a new file
// (never over anything, nothing left beside it), folders made, a path's
// presence, a file or empty folder removed; each refusable on demand.
#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "read_file.h"
#include "scene_file/scene_file.h"
#include "scene_folder.h"

namespace {
namespace fs = std::filesystem;

constexpr const char* sceneText = R"({"plugins": [{"id": 777, "kind": 6, "name": "File Tag"}],
 "objects": [{"name": "Cube", "type": 5159, "tags": [{"name": "T", "type": 777}]}]})";

class CopyFiles : public ::testing::Test {
protected:
    CopyFiles() {
        substitute::loadScene(host.scene, R"({"plugins": [{"id": 1, "kind": 5, "name": "App"}]})");
        hidden = substitute::loadScene(host.scene, sceneText, substitute::LoadAs::Hidden).document;
        path = t.t_C4DOS_Fn->create();
    }
    ~CopyFiles() override {
        t.t_C4DOS_Fn->free(path);
        t.t_C4DOS_Ge->freeHiddenDocument(hidden);
    }
    const HostPath* at(const fs::path& where) {
        path->path = where;
        return path;
    }
    size_t entries() const {
        return size_t(
            std::distance(fs::recursive_directory_iterator(folder.path()), fs::recursive_directory_iterator()));
    }

    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
    kit::TemporaryFolder folder{"copies"};
    HostDocument* hidden = nullptr;
    HostPath* path = nullptr;
};

TEST_F(CopyFiles, ADocumentIsSavedAsANewFileWithItsFilesPluginsAndNeverOverAnything) {
    const fs::path copy = folder.path() / "copy.json";
    ASSERT_EQ(t.t_C4DOS_Ge->saveDocument(hidden, at(copy)), HOST_SAVE_WRITTEN);
    const std::string saved = kit::readFile(copy);
    EXPECT_EQ(saved, substitute::saveScene(host.scene, *hidden));
    EXPECT_NE(saved.find("\"File Tag\""), std::string::npos) << "the file's own plug-ins, not the registry's";
    EXPECT_EQ(saved.find("\"App\""), std::string::npos);

    const fs::path taken = folder.write("taken.json", "earlier");
    fs::create_directory(folder.path() / "dir.json");
    for (const fs::path& there : {copy, taken, folder.path() / "dir.json"}) {
        EXPECT_EQ(t.t_C4DOS_Ge->saveDocument(hidden, at(there)), HOST_SAVE_EXISTS) << there;
    }
    EXPECT_EQ(kit::readFile(taken), "earlier");
    EXPECT_EQ(kit::readFile(copy), saved);
    EXPECT_EQ(t.t_C4DOS_Ge->saveDocument(hidden, at(folder.path() / "no" / "folder.json")), HOST_SAVE_FAILED);
    host.services.failSave(1);
    EXPECT_EQ(t.t_C4DOS_Ge->saveDocument(hidden, at(folder.path() / "refused.json")), HOST_SAVE_FAILED);
    EXPECT_EQ(entries(), 3u) << "nothing partial or temporary left";
    EXPECT_EQ(host.services.savesRequested(), 6);
}

TEST_F(CopyFiles, FoldersAreMadeWithTheirParentsAndPathsAreToldAndRemoved) {
    const fs::path deep = folder.path() / "a" / "b" / "c";
    EXPECT_FALSE(t.t_C4DOS_Fi->exists(at(deep)));
    EXPECT_TRUE(t.t_C4DOS_Fi->makeFolders(at(deep)));
    EXPECT_TRUE(fs::is_directory(deep));
    EXPECT_TRUE(t.t_C4DOS_Fi->makeFolders(at(deep))) << "there before";
    const fs::path file = folder.write("a/file.json", "x");
    EXPECT_FALSE(t.t_C4DOS_Fi->makeFolders(at(file / "below"))) << "a file is in the way";
    host.services.failFolderCreation(1);
    EXPECT_FALSE(t.t_C4DOS_Fi->makeFolders(at(folder.path() / "refused")));
    EXPECT_FALSE(fs::exists(folder.path() / "refused"));

    EXPECT_TRUE(t.t_C4DOS_Fi->exists(at(file)));
    EXPECT_FALSE(t.t_C4DOS_Fi->remove(at(folder.path() / "a" / "b"))) << "not empty";
    host.services.failRemoval(1);
    EXPECT_FALSE(t.t_C4DOS_Fi->remove(at(file)));
    EXPECT_TRUE(fs::exists(file));
    EXPECT_TRUE(t.t_C4DOS_Fi->remove(at(file)));
    EXPECT_FALSE(t.t_C4DOS_Fi->exists(at(file)));
    EXPECT_FALSE(t.t_C4DOS_Fi->remove(at(file))) << "nothing there";
    EXPECT_TRUE(t.t_C4DOS_Fi->remove(at(deep)));
    EXPECT_FALSE(fs::exists(deep));
    EXPECT_EQ(host.services.folderCreationsRequested(), 4);
    EXPECT_EQ(host.services.removalsRequested(), 5);
}

#ifndef _WIN32
TEST_F(CopyFiles, ALinkIsAPathTakenAndRemovedItselfAndFollowedByTheRealPath) {
    const fs::path target = folder.write("target.json", "kept");
    const fs::path link = folder.path() / "link.json";
    fs::create_symlink(folder.path() / "gone.json", link);
    EXPECT_TRUE(t.t_C4DOS_Fi->exists(at(link))) << "a link to nothing is there";
    EXPECT_EQ(t.t_C4DOS_Ge->saveDocument(hidden, at(link)), HOST_SAVE_EXISTS);
    EXPECT_FALSE(fs::exists(folder.path() / "gone.json")) << "never written through the link";
    fs::remove(link);
    fs::create_symlink(target, link);
    HostPath* real = t.t_C4DOS_Fn->create();
    ASSERT_TRUE(t.t_C4DOS_Fn->realPath(at(link), real));
    EXPECT_EQ(real->path, fs::canonical(target));
    EXPECT_FALSE(t.t_C4DOS_Fn->realPath(at(folder.path() / "none"), real)) << "nothing there";
    EXPECT_EQ(real->path, fs::canonical(target)) << "left as it was";
    t.t_C4DOS_Fn->free(real);
    EXPECT_TRUE(t.t_C4DOS_Fi->remove(at(link)));
    EXPECT_EQ(kit::readFile(target), "kept");
}
#endif

// Without a folder: a death test runs its test again up to the statement that dies.
TEST(CopyFileFaults, EmptyPathsStaleDocumentsAndOpenUndoGroupsAreFaults) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
    HostDocument* document = host.scene.newDocument();
    HostPath* empty = t.t_C4DOS_Fn->create();
    EXPECT_DEATH(t.t_C4DOS_Fi->makeFolders(empty), "Fi.makeFolders: the path is empty");
    EXPECT_DEATH(t.t_C4DOS_Fi->exists(empty), "Fi.exists: the path is empty");
    EXPECT_DEATH(t.t_C4DOS_Fi->remove(empty), "Fi.remove: the path is empty");
    EXPECT_DEATH(t.t_C4DOS_Ge->saveDocument(document, empty), "Ge.saveDocument: the path is empty");
    HostPath* file = t.t_C4DOS_Fn->fromString(nullptr);
    ASSERT_NE(file, nullptr);
    file->path = "/nowhere/scene.json";
    ASSERT_TRUE(t.t_C4DOS_Bu->startGroup(document));
    EXPECT_DEATH(t.t_C4DOS_Ge->saveDocument(document, file), "Ge.saveDocument: an undo group is open in the document");
    t.t_C4DOS_Bu->cancelGroup(document);
    EXPECT_DEATH(t.t_C4DOS_Ge->saveDocument(reinterpret_cast<HostDocument*>(empty), file),
                 "Ge.saveDocument: .*document");
    t.t_C4DOS_Fn->free(file);
    t.t_C4DOS_Fn->free(empty);
}

}  // namespace
