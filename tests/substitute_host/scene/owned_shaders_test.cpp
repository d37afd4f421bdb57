// Shaders owned by objects, tags, materials and video posts, and shaders
// below shaders: the scene file keeps them, the tables hand them out and
// check their handles, freeing and undo take them along.
#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "kernel/host_strings.h"
#include "scene_file/scene_file.h"

namespace {

using substitute::HandleKind;

// Every owner, a channel's, a reflectance layer's and a layer's shader with
// shaders below them, and a chain three deep; in the canonical form.
constexpr const char* ownedScene = R"({
  "plugins": [],
  "objects": [
    {"name": "Cloner", "type": 1018544, "tags": [
      {"name": "Tex", "type": 5616, "shaders": [
        {"name": "Tag Noise", "type": 1011116}
      ]}
    ], "shaders": [
      {"name": "Fall", "type": 2000001, "shaders": [
        {"name": "Mid", "type": 1011116, "shaders": [
          {"name": "Deep", "type": 2000002}
        ]}
      ]},
      {"name": "Second", "type": 1011116}
    ], "children": [
      {"name": "Child", "type": 5159}
    ]}
  ],
  "materials": [
    {"name": "Mat", "type": 5703, "channels": {
      "0": {"shader": {"name": "Filter", "type": 1011128, "shaders": [
        {"name": "Input", "type": 2000001}
      ]}},
      "3": {"reflectance": [
        {"name": "Layers", "type": 1011123, "layers": [
          {"kind": 2, "shader": {"name": "Linked", "type": 1011116, "shaders": [
            {"name": "Under Linked", "type": 2000002}
          ]}}
        ], "shaders": [
          {"name": "Unlinked", "type": 2000001}
        ]}
      ]}
    }, "shaders": [
      {"name": "Mat Own", "type": 2000002}
    ]},
    {"name": "Bare", "type": 5703, "shaders": [
      {"name": "Only Own", "type": 2000001}
    ]}
  ],
  "renderSettings": [
    {"name": "Main", "active": true, "videoPosts": [
      {"name": "Glow", "type": 300001, "shaders": [
        {"name": "Post Noise", "type": 2000001}
      ]}
    ]}
  ]
}
)";

class OwnedShaders : public ::testing::Test {
protected:
    OwnedShaders() {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        document = substitute::loadScene(scene, ownedScene).document;
    }

    std::string name(const HostElement* element) {
        HostString* text = t.t_C4DOS_Ba->name(element);
        std::string result(substitute::text(text, "test"));
        substitute::releaseString(text);
        return result;
    }
    // The names of first and the shaders after it.
    std::vector<std::string> names(const HostElement* first) {
        std::vector<std::string> result;
        for (const HostElement* e = first; e != nullptr; e = t.t_C4DOS_Bl->next(e)) result.push_back(name(e));
        return result;
    }
    std::string saved() { return substitute::saveScene(scene, *document); }

    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
    substitute::Scene& scene = host.scene;
    HostDocument* document = nullptr;
};

TEST_F(OwnedShaders, TheFileKeepsThemInTheirOrderAndPrintsThem) {
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(saved(), ownedScene);
    const std::vector<std::string> lines = substitute::describeScene(scene, *document);
    const std::vector<std::string> objects(lines.begin(), lines.begin() + 9);
    EXPECT_EQ(objects, (std::vector<std::string>{"objects:", "  Cloner [1018544]", "    #Tex [5616]",
                                                 "      shader: Tag Noise [1011116]", "    shader: Fall [2000001]",
                                                 "      shader: Mid [1011116]", "        shader: Deep [2000002]",
                                                 "    shader: Second [1011116]", "    Child [5159]"}));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "        shader: Unlinked [2000001]"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "          Linked [1011116]"), lines.end());
}

TEST_F(OwnedShaders, TheTablesHandThemOutWithTheirOwners) {
    HostElement* cloner = t.t_C4DOS_Bd->firstObject(document);
    HostElement* fall = t.t_C4DOS_Sh->firstShader(cloner);
    EXPECT_EQ(names(fall), (std::vector<std::string>{"Fall", "Second"}));
    EXPECT_EQ(t.t_C4DOS_Sh->owner(fall), cloner);
    HostElement* mid = t.t_C4DOS_Sh->firstBelow(fall);
    EXPECT_EQ(names(mid), (std::vector<std::string>{"Mid"}));
    EXPECT_EQ(t.t_C4DOS_Sh->owner(mid), fall);
    EXPECT_EQ(names(t.t_C4DOS_Sh->firstBelow(mid)), (std::vector<std::string>{"Deep"}));
    EXPECT_EQ(t.t_C4DOS_Sh->firstBelow(t.t_C4DOS_Sh->firstBelow(mid)), nullptr);
    HostElement* tex = t.t_C4DOS_Bo->firstTag(cloner);
    EXPECT_EQ(names(t.t_C4DOS_Sh->firstShader(tex)), (std::vector<std::string>{"Tag Noise"}));
    EXPECT_EQ(t.t_C4DOS_Sh->firstShader(t.t_C4DOS_Bl->firstChild(cloner)), nullptr);

    HostElement* mat = t.t_C4DOS_Bd->firstMaterial(document);
    // The material's own shaders, not those of its channels.
    EXPECT_EQ(names(t.t_C4DOS_Sh->firstShader(mat)), (std::vector<std::string>{"Mat Own"}));
    HostElement* filter = t.t_C4DOS_Mt->channelShader(t.t_C4DOS_Mt->channel(mat, 0));
    EXPECT_EQ(names(t.t_C4DOS_Sh->firstBelow(filter)), (std::vector<std::string>{"Input"}));
    // Below a layer shader: the shaders its layers link to, then the others.
    HostArray* reflectance = t.t_C4DOS_At->create();
    ASSERT_TRUE(t.t_C4DOS_Mt->reflectanceShaders(mat, reflectance));
    HostElement* layers = t.t_C4DOS_At->entry(reflectance, 0);
    t.t_C4DOS_At->free(reflectance);
    EXPECT_EQ(names(t.t_C4DOS_Sh->firstBelow(layers)), (std::vector<std::string>{"Linked", "Unlinked"}));

    HostElement* settings = t.t_C4DOS_Bd->activeRenderSettings(document);
    HostElement* glow = t.t_C4DOS_Br->firstVideoPost(settings);
    EXPECT_EQ(names(t.t_C4DOS_Sh->firstShader(glow)), (std::vector<std::string>{"Post Noise"}));
    EXPECT_EQ(t.t_C4DOS_Sh->owner(t.t_C4DOS_Sh->firstShader(glow)), glow);

    EXPECT_DEATH(t.t_C4DOS_Sh->firstShader(fall),
                 "Sh.firstShader: element \"Fall\" is a shader, not an object, tag, material or video post");
    EXPECT_DEATH(t.t_C4DOS_Sh->firstShader(settings), "Sh.firstShader: element \"Main\" is render settings");
    EXPECT_DEATH(t.t_C4DOS_Sh->firstBelow(cloner), "Sh.firstBelow: element \"Cloner\" is an object, not a shader");
    EXPECT_DEATH(t.t_C4DOS_Sh->firstShader(nullptr), "Sh.firstShader: null element handle");
}

// A deletion takes the owner's shaders along; undo brings every one back in
// place, so the file is the same byte for byte; freeing ends them all.
TEST_F(OwnedShaders, DeletionUndoAndFreeTakeThemAlong) {
    HostElement* cloner = t.t_C4DOS_Bd->firstObject(document);
    HostElement* glow = t.t_C4DOS_Br->firstVideoPost(t.t_C4DOS_Bd->activeRenderSettings(document));
    HostElement* deep = t.t_C4DOS_Sh->firstBelow(t.t_C4DOS_Sh->firstBelow(t.t_C4DOS_Sh->firstShader(cloner)));
    const size_t elements = host.handles.count(HandleKind::Element);
    ASSERT_TRUE(t.t_C4DOS_Bu->startGroup(document));
    for (HostElement* element : {deep, cloner, glow}) {
        ASSERT_TRUE(t.t_C4DOS_Bu->addStep(document, HOST_UNDO_DELETE, element, nullptr));
        t.t_C4DOS_Bl->unlink(element);
    }
    EXPECT_EQ(t.t_C4DOS_Bl->document(deep), nullptr);
    ASSERT_TRUE(t.t_C4DOS_Bu->endGroup(document));
    t.t_C4DOS_Bl->free(cloner);  // Deep left it before
    t.t_C4DOS_Bl->free(deep);
    t.t_C4DOS_Bl->free(glow);
    EXPECT_EQ(host.handles.count(HandleKind::Element), elements - 10);
    ASSERT_TRUE(scene.undo(*document));
    EXPECT_EQ(saved(), ownedScene);
    ASSERT_TRUE(scene.redo(*document));
    ASSERT_TRUE(scene.undo(*document));
    EXPECT_EQ(saved(), ownedScene);
    scene.closeDocument(document);
    EXPECT_EQ(host.handles.count(HandleKind::Element), 0u);
}

TEST(OwnedShaderFile, WrongShapesNameThePlace) {
    struct Case {
        const char* json;
        const char* error;
    } cases[] = {
        {R"({"renderSettings": [{"shaders": []}]})", "renderSettings[0]: unknown key \"shaders\""},
        {R"({"objects": [{"type": 1, "shaders": {}}]})", "objects[0].shaders: expected an array, found an object"},
        {R"({"objects": [{"type": 1, "tags": [{"type": 2, "shaders": [{"type": 3, "shaders": [{"type": 4}, {}]}]}]}]})",
         "objects[0].tags[0].shaders[0].shaders[1]: missing \"type\""},
        {R"({"materials": [{"type": 1, "shaders": [{"type": 2, "owner": "M"}]}]})",
         "materials[0].shaders[0]: unknown key \"owner\""},
        {R"({"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 1, "shaders": [5]}}}}]})",
         "materials[0].channels[\"0\"].shader.shaders[0]: expected an object, found a number"},
        {R"({"renderSettings": [{"videoPosts": [{"type": 1, "shaders": [{"type": 2, "shaders": [], "shaders": []}]}]}]})",
         "renderSettings[0].videoPosts[0].shaders[0].shaders: duplicate key"},
        {R"({"objects": [{"type": 1, "shaders": [{"type": 5, "layers": [{"kind": 1}]}]}]})",
         "objects[0].shaders[0].layers: only a layer shader (type 1011123) has layers"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        substitute::SubstituteHost host;
        substitute::SceneLoad loaded = substitute::loadScene(host.scene, c.json);
        EXPECT_EQ(loaded.document, nullptr);
        EXPECT_EQ(loaded.error, c.error);
        EXPECT_EQ(host.handles.count(HandleKind::Element), 0u);
    }
}

// A chain far deeper than any stack frame budget loads, saves, prints and
// frees without recursion.
TEST(OwnedShaderFile, AVeryDeepChainBelowAShaderLoadsAndFrees) {
    constexpr int depth = 100000;
    std::string json = R"({"objects": [{"type": 1, "shaders": )";
    for (int i = 0; i < depth; ++i) json += R"([{"type": 2, "shaders": )";
    json += "[]";
    for (int i = 0; i < depth; ++i) json += "}]";
    json += "}]}";
    substitute::SubstituteHost host;
    substitute::SceneLoad loaded = substitute::loadScene(host.scene, json);
    ASSERT_NE(loaded.document, nullptr) << loaded.error;
    const std::string saved = substitute::saveScene(host.scene, *loaded.document);
    EXPECT_EQ(substitute::describeScene(host.scene, *loaded.document).size(), size_t(depth + 4));
    substitute::SceneLoad again = substitute::loadScene(host.scene, saved);
    ASSERT_NE(again.document, nullptr) << again.error;
    host.scene.closeDocument(loaded.document);
    host.scene.closeDocument(again.document);
    EXPECT_EQ(host.handles.count(HandleKind::Element), 0u);
}

}  // namespace
