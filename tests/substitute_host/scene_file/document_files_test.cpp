// Scene files read on the module's request: a hidden document is read and
// may be changed, is never shown, and installs no plug-ins; an opened one
// becomes the active document, installing none either.
#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "kernel/host_strings.h"
#include "scene_file/scene_file.h"
#include "scene_folder.h"

namespace {
namespace fs = std::filesystem;

constexpr const char* withPlugins = R"({"plugins": [{"id": 777, "kind": 6, "name": "File Tag"}],
 "objects": [{"name": "Cube", "type": 5159, "tags": [{"name": "T", "type": 777}]}],
 "materials": [{"name": "M", "type": 5703}]})";

class DocumentFiles : public ::testing::Test {
protected:
    DocumentFiles() {
        active = substitute::loadScene(host.scene, R"({"plugins": [{"id": 1, "kind": 5, "name": "App"}]})").document;
        path = t.t_C4DOS_Fn->create();
        path->path = folder.write("scene.json", withPlugins);
    }
    ~DocumentFiles() override { t.t_C4DOS_Fn->free(path); }

    HostDocument* loadHidden(int32_t& result) { return t.t_C4DOS_Ge->loadHiddenDocument(path, &result); }

    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
    kit::TemporaryFolder folder{"documents"};
    HostDocument* active = nullptr;
    HostPath* path = nullptr;
};

TEST_F(DocumentFiles, AHiddenDocumentIsReadButNeitherShownNorInstallingItsPlugins) {
    int32_t result = -1;
    HostDocument* hidden = loadHidden(result);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(result, HOST_DOCUMENT_LOADED);
    EXPECT_EQ(host.scene.activeDocument(), active);
    EXPECT_EQ(host.scene.documents().size(), 1u);
    EXPECT_EQ(host.scene.plugins().size(), 1u) << "the registry is the application's";
    EXPECT_EQ(t.t_C4DOS_Pr->find(777, HOST_PLUGIN_KIND_TAG), nullptr);
    HostElement* cube = t.t_C4DOS_Bd->firstObject(hidden);
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(t.t_C4DOS_Ba->typeId(t.t_C4DOS_Bo->firstTag(cube)), 777);
    EXPECT_EQ(host.services.liveObjects(), 2) << "the document and the path are the module's";
    EXPECT_EQ(host.scene.hiddenLoads, 1);
    t.t_C4DOS_Ge->freeHiddenDocument(hidden);
    EXPECT_EQ(host.scene.hiddenDocumentCount(), 0u);
    EXPECT_EQ(host.scene.mostHiddenAtOnce, 1u);
}

// Read from text, without a folder: a death test runs its test again up to
// the statement that dies, which would leave a second folder behind.
TEST(HiddenDocuments, AreChangedWithAnUndoOfTheirOwnButNeverSelectedIn) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
    HostDocument* active = host.scene.newDocument();
    HostDocument* hidden = substitute::loadScene(host.scene, withPlugins, substitute::LoadAs::Hidden).document;
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(host.scene.activeDocument(), active);
    HostElement* cube = t.t_C4DOS_Bd->firstObject(hidden);
    HostElement* material = t.t_C4DOS_Bd->firstMaterial(hidden);
    const char* neverShown = "the document is a hidden one, which is never shown";
    EXPECT_DEATH(t.t_C4DOS_Bd->setActiveObject(hidden, cube, HOST_SELECT_ONLY),
                 std::string("Bd.setActiveObject: ") + neverShown);
    EXPECT_DEATH(t.t_C4DOS_Bd->setActiveMaterial(hidden, material, HOST_SELECT_ONLY),
                 std::string("Bd.setActiveMaterial: ") + neverShown);
    EXPECT_DEATH(t.t_C4DOS_Ge->freeHiddenDocument(active), "freeHiddenDocument: the document is not a hidden one");
    // A removal as the module makes it, recorded in the hidden document alone.
    HostElement* tag = t.t_C4DOS_Bo->firstTag(cube);
    ASSERT_TRUE(t.t_C4DOS_Bu->startGroup(hidden));
    ASSERT_TRUE(t.t_C4DOS_Bu->addStep(hidden, HOST_UNDO_DELETE, tag, nullptr));
    t.t_C4DOS_Bl->unlink(tag);
    ASSERT_TRUE(t.t_C4DOS_Bu->endGroup(hidden));
    t.t_C4DOS_Bl->free(tag);
    t.t_C4DOS_Mt->update(material, true, true);
    EXPECT_EQ(t.t_C4DOS_Bo->firstTag(cube), nullptr);
    EXPECT_EQ(hidden->undo.done.size(), 1u);
    EXPECT_TRUE(active->undo.done.empty()) << "the active document's undo is its own";
    t.t_C4DOS_Ge->freeHiddenDocument(hidden);
    EXPECT_DEATH(t.t_C4DOS_Bl->next(cube), "Bl.next: element handle .* is not live");
}

TEST_F(DocumentFiles, AFileThatIsNoSceneOrNoMemoryForItGivesNoDocumentAndSaysWhy) {
    int32_t result = -1;
    for (const fs::path& unreadable :
         {folder.write("broken.json", "{\"objects\": ["), folder.path() / "none.json", folder.path()}) {
        path->path = unreadable;
        EXPECT_EQ(loadHidden(result), nullptr) << unreadable;
        EXPECT_EQ(result, HOST_DOCUMENT_UNREADABLE) << unreadable;
    }
    path->path = folder.path() / "scene.json";
    host.services.failObjectCreation(1);
    EXPECT_EQ(loadHidden(result), nullptr);
    EXPECT_EQ(result, HOST_DOCUMENT_OUT_OF_MEMORY);
    EXPECT_EQ(host.scene.hiddenLoads, 4);
    EXPECT_EQ(host.scene.hiddenDocumentCount(), 0u);
}

TEST_F(DocumentFiles, AnOpenedFileBecomesTheActiveDocumentAndInstallsNoPlugins) {
    std::vector<fs::path> opened;
    host.scene.onOpenDocument = [&](const fs::path& file) { opened.push_back(file); };
    ASSERT_TRUE(t.t_C4DOS_Ge->openDocument(path));
    EXPECT_NE(host.scene.activeDocument(), active);
    EXPECT_EQ(host.scene.documents().size(), 2u) << "the earlier document stays open";
    EXPECT_EQ(host.scene.plugins().size(), 1u);
    EXPECT_EQ(opened, (std::vector<fs::path>{path->path}));

    HostDocument* current = host.scene.activeDocument();
    path->path = folder.path() / "gone.json";
    EXPECT_FALSE(t.t_C4DOS_Ge->openDocument(path));
    EXPECT_EQ(host.scene.activeDocument(), current);
    EXPECT_EQ(opened.size(), 1u);
}

}  // namespace
