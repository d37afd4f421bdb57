// Operations that once took time growing with the square of the input, each
// at a size where that took seconds to minutes: printing a deep hierarchy,
// resolving the links of a deep layer-shader chain, saving a layer shader of
// many layers, loading many reflectance owners. (Their growth is measured in
// benchmarks/scene_file_benchmark.cpp; here they must simply be right.)
#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "reflectance_owners_scene.h"
#include "scene_file/scene_file.h"

namespace {

constexpr int deep = 100000;

TEST(LinearPaths, TheTextOfADeepHierarchyGrowsWithItsDepthOnly) {
    substitute::SubstituteHost host;
    HostDocument* document = host.scene.newDocument();
    HostElement* parent = nullptr;
    for (int i = 0; i < deep; ++i) parent = host.scene.addObject(*document, parent, "o", 5140);
    const std::vector<std::string> lines = substitute::describeScene(host.scene, *document);
    ASSERT_EQ(lines.size(), size_t(deep) + 3);
    size_t characters = 0;
    for (const std::string& line : lines) characters += line.size();
    // Indentation stops at 64 spaces: at most 64 + "o [5140]" a line.
    EXPECT_LE(characters, lines.size() * 72);
    EXPECT_EQ(lines[size_t(deep)], std::string(64, ' ') + "o [5140]");
}

TEST(LinearPaths, LinksOfADeepLayerShaderChainResolveInTheirDocument) {
    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
    HostDocument* document = host.scene.newDocument();
    HostElement* material = host.scene.addMaterial(*document, "Deep", 5703);
    HostElement* top = host.scene.setChannelShader(*material, 0, "Layer", HOST_LAYER_SHADER_TYPE);
    std::vector<HostElement*> chain{top};
    for (int i = 0; i < deep; ++i)
        chain.push_back(host.scene.addShaderLayer(*chain.back(), "Layer", HOST_LAYER_SHADER_TYPE));

    // What the module does at every level: read the layer's link and resolve it.
    HostValue* value = t.t_C4DOS_Gv->create();
    const HostLayerShaderLibrary& layers =
        *static_cast<const HostLayerShaderLibrary*>(t.t_C4DOS_Lr->find(HOST_LIBRARY_LAYER_SHADER));
    size_t resolved = 0;
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        HostLayer* layer = layers.firstLayer(chain[i]);
        ASSERT_TRUE(layers.getParameter(layer, HOST_LAYER_PARAMETER_LINK, value));
        resolved += t.t_C4DOS_Ln->resolve(t.t_C4DOS_Gv->link(value), document) == chain[i + 1];
    }
    EXPECT_EQ(resolved, size_t(deep));
    EXPECT_EQ(t.t_C4DOS_Bl->document(chain.back()), document);

    // Unlinked with its holder, the deepest shader is in no document; undo
    // brings it back into this one.
    t.t_C4DOS_Bu->startGroup(document);
    t.t_C4DOS_Bu->addStep(document, HOST_UNDO_DELETE, chain[1], nullptr);
    t.t_C4DOS_Bl->unlink(chain[1]);
    EXPECT_EQ(t.t_C4DOS_Bl->document(chain.back()), nullptr);
    ASSERT_TRUE(layers.getParameter(layers.firstLayer(chain[0]), HOST_LAYER_PARAMETER_LINK, value));
    EXPECT_EQ(t.t_C4DOS_Ln->resolve(t.t_C4DOS_Gv->link(value), document), nullptr);
    t.t_C4DOS_Bl->free(chain[1]);
    t.t_C4DOS_Bu->endGroup(document);
    ASSERT_TRUE(host.scene.undo(*document));
    ASSERT_TRUE(layers.getParameter(layers.firstLayer(chain[0]), HOST_LAYER_PARAMETER_LINK, value));
    HostElement* restored = t.t_C4DOS_Ln->resolve(t.t_C4DOS_Gv->link(value), document);
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(t.t_C4DOS_Bl->document(restored), document);
    t.t_C4DOS_Gv->free(value);
}

TEST(LinearPaths, ALayerShaderOfManyLayersSavesAndLoads) {
    substitute::SubstituteHost host;
    HostDocument* document = host.scene.newDocument();
    HostElement* material = host.scene.addMaterial(*document, "Wide", 5703);
    HostElement* shader = host.scene.setChannelShader(*material, 0, "Layers", HOST_LAYER_SHADER_TYPE);
    for (int i = 0; i < deep; ++i) host.scene.addShaderLayer(*shader, "s", i % 2 ? 1234 : 5);
    const std::string saved = substitute::saveScene(host.scene, *document);
    substitute::SceneLoad loaded = substitute::loadScene(host.scene, saved);
    ASSERT_NE(loaded.document, nullptr) << loaded.error;
    EXPECT_EQ(substitute::saveScene(host.scene, *loaded.document), saved);
    EXPECT_EQ(substitute::describeScene(host.scene, *loaded.document).size(), 6 + 2 * size_t(deep));
}

TEST(LinearPaths, ManyReflectanceOwnersLoad) {
    constexpr int materials = 40000;
    const std::string json = kit::reflectanceOwnersScene(materials);
    substitute::SubstituteHost host;
    substitute::SceneLoad loaded = substitute::loadScene(host.scene, json);
    ASSERT_NE(loaded.document, nullptr) << loaded.error;
    const HostElement* last = loaded.document->materials.last;
    const HostElement* shader = substitute::asMaterial(*last).channels[3]->reflectance.first;
    EXPECT_EQ(host.scene.ownerOf(*shader)->name, "M" + std::to_string((39999 * 7919) % materials));
}

}  // namespace
