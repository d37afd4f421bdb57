#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "read_file.h"
#include "scene_file/scene_file.h"

namespace {

using substitute::loadScene;
using substitute::saveScene;

std::string exampleScenePath() { return CLEARTRACE_SOURCE_DIR "/example_scenes/legacy_plugins.json"; }

bool startsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

TEST(SceneFile, TheExampleSceneSavesToTheSameBytes) {
    substitute::SubstituteHost host;
    std::string original = kit::readFile(exampleScenePath());
    substitute::SceneLoad loaded = substitute::loadSceneFile(host.scene, exampleScenePath());
    ASSERT_NE(loaded.document, nullptr) << loaded.error;
    EXPECT_EQ(host.scene.activeDocument(), loaded.document);
    EXPECT_EQ(saveScene(host.scene, *loaded.document), original);
}

TEST(SceneFile, EveryFeatureSurvivesARoundTripAndLooseInputBecomesCanonical) {
    // Defaults written out, keys in another order, channels unordered: the
    // saved form drops defaults, orders keys and channels, and is stable.
    const char* loose = R"({"renderSettings": [{"videoPosts": [{"type": 7, "name": "V"}], "active": false, "name": "A"},
                                               {"name": "B", "active": true}],
        "materials": [{"type": 5703, "name": "Mat", "selected": false, "channels": {
            "10": {"shader": {"type": 1, "name": "S"}}, "6": {},
            "3": {"reflectance": [{"name": "L", "type": 1011123, "layers": [
                    {"kind": 2, "shader": {"name": "X", "type": 1234}}, {"kind": 2, "shader": null}, {"kind": 1}]},
                  {"name": "F", "type": 1234, "owner": "Other"}, {"name": "G", "type": 1234, "owner": "Mat"},
                  {"name": "N", "type": 1234, "owner": null}]}}},
                      {"name": "Other", "type": 5703, "selected": true}],
        "objects": [{"type": 5159, "selected": true, "children": [{"name": "C", "type": 1, "tags": [], "children": []}],
                     "tags": [{"type": 1234, "name": "T"}]}],
        "plugins": [{"name": "P", "kind": 6, "id": -4}]})";
    substitute::SubstituteHost host;
    substitute::SceneLoad first = loadScene(host.scene, loose);
    ASSERT_NE(first.document, nullptr) << first.error;
    std::string saved = saveScene(host.scene, *first.document);
    EXPECT_EQ(saved, R"({
  "plugins": [
    {"id": -4, "kind": 6, "name": "P"}
  ],
  "objects": [
    {"name": "", "type": 5159, "selected": true, "tags": [
      {"name": "T", "type": 1234}
    ], "children": [
      {"name": "C", "type": 1}
    ]}
  ],
  "materials": [
    {"name": "Mat", "type": 5703, "channels": {
      "3": {"reflectance": [
        {"name": "L", "type": 1011123, "layers": [
          {"kind": 2, "shader": {"name": "X", "type": 1234}},
          {"kind": 2, "shader": null},
          {"kind": 1}
        ]},
        {"name": "F", "type": 1234, "owner": "Other"},
        {"name": "G", "type": 1234},
        {"name": "N", "type": 1234, "owner": null}
      ]},
      "6": {},
      "10": {"shader": {"name": "S", "type": 1}}
    }},
    {"name": "Other", "type": 5703, "selected": true}
  ],
  "renderSettings": [
    {"name": "A", "videoPosts": [
      {"name": "V", "type": 7}
    ]},
    {"name": "B", "active": true}
  ]
}
)");
    substitute::SceneLoad second = loadScene(host.scene, saved);
    ASSERT_NE(second.document, nullptr) << second.error;
    EXPECT_EQ(saveScene(host.scene, *second.document), saved);
}

TEST(SceneFile, TheSchemaAFileNamesIsKeptFirstAndOnlyWhenGiven) {
    substitute::SubstituteHost host;
    substitute::SceneLoad named =
        loadScene(host.scene, R"({"objects": [{"type": 1}], "$schema": "../docs/scene.schema.json"})");
    ASSERT_NE(named.document, nullptr) << named.error;
    const std::string saved = saveScene(host.scene, *named.document);
    EXPECT_TRUE(startsWith(saved, "{\n  \"$schema\": \"../docs/scene.schema.json\",\n  \"plugins\": [")) << saved;
    substitute::SceneLoad again = loadScene(host.scene, saved);
    ASSERT_NE(again.document, nullptr) << again.error;
    EXPECT_EQ(saveScene(host.scene, *again.document), saved);

    substitute::SceneLoad empty = loadScene(host.scene, R"({"$schema": ""})");
    ASSERT_NE(empty.document, nullptr) << empty.error;
    EXPECT_TRUE(startsWith(saveScene(host.scene, *empty.document), "{\n  \"$schema\": \"\",\n"));
    substitute::SceneLoad none = loadScene(host.scene, "{}");
    ASSERT_NE(none.document, nullptr) << none.error;
    EXPECT_TRUE(startsWith(saveScene(host.scene, *none.document), "{\n  \"plugins\": ["));
}

TEST(SceneFile, EachKindOfErrorNamesThePlaceAndWhatIsWrong) {
    struct Case {
        const char* json;
        const char* error;
    } cases[] = {
        {R"([])", "top level: expected an object, found an array"},
        {R"({"scene": []})", "top level: unknown key \"scene\""},
        {R"({"$schema": 5})", "$schema: expected a string, found a number"},
        {R"({"$schema": "a", "$schema": "b"})", "$schema: duplicate key"},
        {R"({"objects": {}})", "objects: expected an array, found an object"},
        {R"({"objects": [{"name": "Cube"}]})", "objects[0]: missing \"type\""},
        {R"({"objects": [{"type": 1, "children": [{"type": 1}, {"type": 1},
                                                  {"type": 1, "tags": [{"type": 5}, {}]}]}]})",
         "objects[0].children[2].tags[1]: missing \"type\""},
        {R"({"objects": [{"type": 1, "colour": "red"}]})", "objects[0]: unknown key \"colour\""},
        {R"({"objects": [{"type": "5159"}]})", "objects[0].type: expected a 32-bit integer, found a string"},
        {R"({"objects": [{"type": 5159.5}]})", "objects[0].type: expected a 32-bit integer, found 5159.5"},
        {R"({"objects": [{"type": 2147483648}]})", "objects[0].type: expected a 32-bit integer, found 2147483648"},
        {R"({"objects": [{"type": -2147483649}]})", "objects[0].type: expected a 32-bit integer, found -2147483649"},
        {R"({"objects": [{"type": 1e400}]})", "objects[0].type: number overflow"},
        {R"({"objects": [{"type": 99999999999999999999}]})",
         "objects[0].type: expected a 32-bit integer, found 99999999999999999999"},
        {R"({"objects": [{"type": 1, "name": 7}]})", "objects[0].name: expected a string, found a number"},
        {R"({"objects": [{"type": 1, "selected": 1}]})", "objects[0].selected: expected true or false, found a number"},
        {R"({"objects": [5]})", "objects[0]: expected an object, found a number"},
        {R"({"plugins": [{"id": 1, "name": "x"}]})", "plugins[0]: missing \"kind\""},
        {R"({"materials": [{"type": 1, "channels": {"15": {}}}]})",
         "materials[0].channels[\"15\"]: a channel is named by its number, 0 to 14"},
        {R"({"materials": [{"type": 1, "channels": {"03": {}}}]})",
         "materials[0].channels[\"03\"]: a channel is named by its number, 0 to 14"},
        {R"({"materials": [{"type": 1, "channels": {"x": {}}}]})",
         "materials[0].channels[\"x\"]: a channel is named by its number, 0 to 14"},
        {R"({"materials": [{"type": 1, "channels": []}]})",
         "materials[0].channels: expected an object, found an array"},
        {R"({"materials": [{"type": 1, "channels": {"0": {"shader": {"name": "n"}}}}]})",
         "materials[0].channels[\"0\"].shader: missing \"type\""},
        {R"({"materials": [{"type": 1, "channels": {"0": {"reflectance": []}}}]})",
         "materials[0].channels[\"0\"].reflectance: only channel 3 has reflectance layers"},
        {R"({"materials": [{"type": 1, "channels": {"3": {"reflectance": [{"type": 1, "owner": "Nobody"}]}}}]})",
         "materials[0].channels[\"3\"].reflectance[0].owner: no material named \"Nobody\""},
        {R"({"materials": [{"type": 1, "channels": {"3": {"reflectance": [{"type": 1, "owner": 3}]}}}]})",
         "materials[0].channels[\"3\"].reflectance[0].owner: expected a material name or null, found a number"},
        {R"({"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 1, "owner": "M"}}}}]})",
         "materials[0].channels[\"0\"].shader: unknown key \"owner\""},
        {R"({"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 5, "layers": [{"kind": 1}]}}}}]})",
         "materials[0].channels[\"0\"].shader.layers: only a layer shader (type 1011123) has layers"},
        {R"({"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 1011123, "layers": [{"kind": 2}]}}}}]})",
         "materials[0].channels[\"0\"].shader.layers[0]: missing \"shader\""},
        {R"({"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 1011123,
                                                                       "layers": [{"shader": null}]}}}}]})",
         "materials[0].channels[\"0\"].shader.layers[0]: missing \"kind\""},
        {R"({"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 1011123, "layers": [
            {"kind": 2, "shader": {"type": 1011123, "layers": [{"kind": 1, "shader": null}]}}]}}}}]})",
         "materials[0].channels[\"0\"].shader.layers[0].shader.layers[0].shader: only a shader layer (kind 2) links a "
         "shader"},
        {R"({"renderSettings": [{"active": true}, {"active": true}]})",
         "renderSettings[1].active: more than one active render settings"},
        {R"({"renderSettings": [{"type": 3}]})", "renderSettings[0]: unknown key \"type\""},
        {R"({"renderSettings": [{"videoPosts": [{"name": "Glow"}]}]})",
         "renderSettings[0].videoPosts[0]: missing \"type\""},
        {R"({"objects": [)", "not valid JSON"},
        {"{\"objects\": [{\"type\": 1, \"name\": \"\xff\"}]}", "not valid JSON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        substitute::SubstituteHost host;
        substitute::SceneLoad result = loadScene(host.scene, c.json);
        EXPECT_EQ(result.document, nullptr);
        EXPECT_EQ(result.error.substr(0, std::string(c.error).size()), c.error);
        EXPECT_EQ(host.handles.count(substitute::HandleKind::Element), 0u) << "half-loaded elements stay behind";
    }
}

TEST(SceneFile, AFailedLoadLeavesTheSceneAsItWas) {
    substitute::SubstituteHost host;
    substitute::SceneLoad good = substitute::loadSceneFile(host.scene, exampleScenePath());
    ASSERT_NE(good.document, nullptr);
    std::string before = saveScene(host.scene, *good.document);

    substitute::SceneLoad bad = loadScene(
        host.scene, R"({"plugins": [{"id": 1, "kind": 6, "name": "New"}], "objects": [{"type": 1}, {"name": "x"}]})");
    EXPECT_EQ(bad.document, nullptr);
    EXPECT_EQ(host.scene.activeDocument(), good.document);
    EXPECT_EQ(host.scene.documents().size(), 1u);
    EXPECT_EQ(saveScene(host.scene, *good.document), before);  // registry included
}

TEST(SceneFile, DeeplyNestedInputGivesACleanErrorOrLoads) {
    substitute::SubstituteHost host;
    std::string arrays = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_EQ(loadScene(host.scene, arrays).error, "top level: expected an object, found an array");

    std::string unfinished = "{\"objects\": " + std::string(100000, '[');
    EXPECT_EQ(loadScene(host.scene, unfinished).error, "objects[0]: expected an object, found an array");
    std::string cut = "{\"objects\": [" + std::string(100000, ' ');
    EXPECT_EQ(loadScene(host.scene, cut).error.substr(0, 14), "not valid JSON");

    // A real hierarchy this deep loads, and saves back to the same text.
    const int depth = 10000;
    std::string deep = "{\"objects\": [";
    for (int i = 0; i < depth; ++i) deep += "{\"type\": 5140, \"children\": [";
    deep += "{\"type\": 5159}";
    for (int i = 0; i < depth; ++i) deep += "]}";
    deep += "]}";
    substitute::SceneLoad loaded = loadScene(host.scene, deep);
    ASSERT_NE(loaded.document, nullptr) << loaded.error;
    std::string saved = saveScene(host.scene, *loaded.document);
    substitute::SceneLoad again = loadScene(host.scene, saved);
    ASSERT_NE(again.document, nullptr) << again.error;
    EXPECT_EQ(saveScene(host.scene, *again.document), saved);
}

TEST(SceneFile, AMissingFileIsReported) {
    substitute::SubstituteHost host;
    substitute::SceneLoad result = substitute::loadSceneFile(host.scene, "/nonexistent/scene.json");
    EXPECT_EQ(result.document, nullptr);
    EXPECT_EQ(result.error, "cannot read /nonexistent/scene.json");
}

}  // namespace
