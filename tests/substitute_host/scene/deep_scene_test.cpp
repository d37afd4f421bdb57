// Very deep hierarchies and layer-shader chains: the host's own walks (free,
// copy for undo, save, load) must not recurse on the native stack.
#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "scene_file/scene_file.h"

namespace {

// Unoptimised (debug and sanitizer) builds take a tenth: still far beyond
// what a recursive walk survives on their larger stack frames. Test files
// compiled unoptimised on their own still test an optimised host.
#if defined(__OPTIMIZE__) || defined(CLEARTRACE_TESTS_UNOPTIMISED)
constexpr int deepHierarchy = 1000000;
#else
constexpr int deepHierarchy = 100000;
#endif
constexpr int deepLayerChain = 10000;

class DeepScene : public ::testing::Test {
protected:
    // startGroup, addStep(45), unlink, free, endGroup: a removal as the module makes it.
    void removeWithUndo(HostElement* element) {
        t.t_C4DOS_Bu->startGroup(document);
        t.t_C4DOS_Bu->addStep(document, HOST_UNDO_DELETE, element, nullptr);
        t.t_C4DOS_Bl->unlink(element);
        t.t_C4DOS_Bl->free(element);
        t.t_C4DOS_Bu->endGroup(document);
    }

    HostElement* chain(int depth) {
        HostElement* top = nullptr;
        HostElement* parent = nullptr;
        for (int i = 0; i < depth; ++i) {
            parent = host.scene.addObject(*document, parent, "o", 5140);
            if (i == 0) top = parent;
        }
        host.scene.addTag(*parent, "deepest", 1234);
        return top;
    }

    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
    HostDocument* document = host.scene.newDocument();
};

TEST_F(DeepScene, AHierarchyAMillionLevelsDeepSavesAndFrees) {
    HostElement* top = chain(deepHierarchy);
    std::string saved = substitute::saveScene(host.scene, *document);
    EXPECT_NE(saved.find("\"deepest\""), std::string::npos);
    t.t_C4DOS_Bl->free(top);
    EXPECT_EQ(host.handles.count(substitute::HandleKind::Element), 0u);
}

TEST_F(DeepScene, ADeepHierarchyIsDeletedAndRestoredByUndo) {
    HostElement* top = chain(deepHierarchy / 5);
    std::string saved = substitute::saveScene(host.scene, *document);
    removeWithUndo(top);
    EXPECT_EQ(host.handles.count(substitute::HandleKind::Element), 0u);
    ASSERT_TRUE(host.scene.undo(*document));
    EXPECT_EQ(substitute::saveScene(host.scene, *document), saved);
    ASSERT_TRUE(host.scene.redo(*document));
    EXPECT_EQ(host.handles.count(substitute::HandleKind::Element), 0u);
}

TEST_F(DeepScene, ALayerShaderChainTenThousandDeepRoundTrips) {
    HostElement* material = host.scene.addMaterial(*document, "Deep", 5703);
    HostElement* shader = host.scene.setChannelShader(*material, 0, "Layer", HOST_LAYER_SHADER_TYPE);
    for (int i = 0; i < deepLayerChain; ++i)
        shader = host.scene.addShaderLayer(*shader, "Layer", HOST_LAYER_SHADER_TYPE);
    host.scene.addShaderLayer(*shader, "Legacy", 1234);

    std::string saved = substitute::saveScene(host.scene, *document);
    substitute::SceneLoad loaded = substitute::loadScene(host.scene, saved);
    ASSERT_NE(loaded.document, nullptr) << loaded.error;
    EXPECT_EQ(substitute::saveScene(host.scene, *loaded.document), saved);

    removeWithUndo(t.t_C4DOS_Mt->channelShader(t.t_C4DOS_Mt->channel(material, 0)));
    ASSERT_TRUE(host.scene.undo(*document));
    EXPECT_EQ(substitute::saveScene(host.scene, *document), saved);
}

}  // namespace
