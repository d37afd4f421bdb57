#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "kernel/host_strings.h"
#include "scene_file/scene_file.h"

namespace {

using substitute::HandleKind;

class SceneTables : public ::testing::Test {
protected:
    SceneTables() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    std::string name(const HostElement* element) {
        HostString* text = t.t_C4DOS_Ba->name(element);
        std::string result(substitute::text(text, "test"));
        substitute::releaseString(text);
        return result;
    }

    std::vector<std::string> names(HostArray* array) {
        std::vector<std::string> result;
        for (int32_t i = 0; i < t.t_C4DOS_At->count(array); ++i) result.push_back(name(t.t_C4DOS_At->entry(array, i)));
        return result;
    }

    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
    substitute::Scene& scene = host.scene;
};

TEST_F(SceneTables, SelectedObjectsComeInHierarchyPreOrderWithDescendants) {
    HostDocument* doc = scene.newDocument();
    HostElement* a = scene.addObject(*doc, nullptr, "A", 1);
    HostElement* a1 = scene.addObject(*doc, a, "A1", 1);
    scene.addObject(*doc, a1, "A1x", 1)->selected = true;
    scene.addObject(*doc, a, "A2", 1)->selected = true;
    scene.addObject(*doc, nullptr, "B", 1)->selected = true;
    a->selected = true;
    a1->selected = true;

    HostArray* array = t.t_C4DOS_At->create();
    ASSERT_TRUE(t.t_C4DOS_Bd->selectedObjects(doc, array, HOST_SELECTION_ALL));
    EXPECT_EQ(names(array), (std::vector<std::string>{"A", "A1", "A1x", "A2", "B"}));

    t.t_C4DOS_Bd->setActiveObject(doc, a1, HOST_SELECT_ONLY);
    t.t_C4DOS_Bd->selectedObjects(doc, array, HOST_SELECTION_ALL);
    EXPECT_EQ(names(array), (std::vector<std::string>{"A1"})) << "the array is emptied first; the rest deselected";
    EXPECT_EQ(scene.activeObject(*doc), a1);

    HostElement* m1 = scene.addMaterial(*doc, "M1", 5703);
    scene.addMaterial(*doc, "M2", 5703)->selected = true;
    m1->selected = true;
    t.t_C4DOS_Bd->selectedMaterials(doc, array);
    EXPECT_EQ(names(array), (std::vector<std::string>{"M1", "M2"}));
    t.t_C4DOS_Bd->setActiveMaterial(doc, m1, HOST_SELECT_ONLY);
    t.t_C4DOS_Bd->selectedMaterials(doc, array);
    EXPECT_EQ(names(array), (std::vector<std::string>{"M1"}));
    EXPECT_EQ(scene.activeMaterial(*doc), m1);
    t.t_C4DOS_At->free(array);
}

TEST_F(SceneTables, TheExampleSceneReadsAsTheModuleWalksIt) {
    substitute::SceneLoad loaded =
        substitute::loadSceneFile(scene, CLEARTRACE_SOURCE_DIR "/example_scenes/legacy_plugins.json");
    HostDocument* doc = t.t_C4DOS_Ge->activeDocument();
    ASSERT_EQ(doc, loaded.document);

    HostElement* studio = t.t_C4DOS_Bd->firstObject(doc);
    HostElement* hero = t.t_C4DOS_Bl->next(t.t_C4DOS_Bl->firstChild(studio));
    EXPECT_EQ(name(hero), "Hero Cube");
    EXPECT_EQ(t.t_C4DOS_Bl->parent(hero), studio);
    EXPECT_EQ(t.t_C4DOS_Bl->parent(studio), nullptr);
    int32_t count = 0;
    HostElement* const* tags = t.t_C4DOS_Tg->tagsOfType(hero, 1234567, &count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(name(tags[0]), "Legacy Glow");
    EXPECT_EQ(name(tags[1]), "Legacy Glow.1");
    EXPECT_EQ(name(t.t_C4DOS_Bo->firstTag(hero)), "Texture");

    HostElement* floor = t.t_C4DOS_Bd->firstMaterial(doc);
    HostElement* material = t.t_C4DOS_Bl->next(floor);
    EXPECT_EQ(t.t_C4DOS_Mt->channel(material, 1), nullptr);
    EXPECT_EQ(t.t_C4DOS_Mt->channel(material, 15), nullptr);
    ASSERT_NE(t.t_C4DOS_Mt->channel(material, 6), nullptr);
    EXPECT_EQ(t.t_C4DOS_Mt->channelShader(t.t_C4DOS_Mt->channel(material, 6)), nullptr);
    HostElement* plain = t.t_C4DOS_Mt->channelShader(t.t_C4DOS_Mt->channel(material, 0));
    EXPECT_EQ(t.t_C4DOS_Sh->owner(plain), material);

    HostArray* array = t.t_C4DOS_At->create();
    t.t_C4DOS_Mt->reflectanceShaders(material, array);
    ASSERT_EQ(t.t_C4DOS_At->count(array), 3);
    EXPECT_EQ(t.t_C4DOS_Ba->typeId(t.t_C4DOS_At->entry(array, 0)), HOST_LAYER_SHADER_TYPE);
    EXPECT_EQ(t.t_C4DOS_Sh->owner(t.t_C4DOS_At->entry(array, 1)), material);
    EXPECT_EQ(t.t_C4DOS_Sh->owner(t.t_C4DOS_At->entry(array, 2)), floor);

    auto* library = static_cast<const HostLayerShaderLibrary*>(t.t_C4DOS_Lr->find(HOST_LIBRARY_LAYER_SHADER));
    HostLayer* layer = library->firstLayer(t.t_C4DOS_At->entry(array, 0));
    std::vector<int32_t> kinds;
    std::vector<std::string> linked;
    HostValue* value = t.t_C4DOS_Gv->create();
    for (; layer; layer = library->nextLayer(layer)) {
        kinds.push_back(library->kind(layer));
        if (!library->getParameter(layer, HOST_LAYER_PARAMETER_LINK, value)) {
            EXPECT_EQ(t.t_C4DOS_Gv->type(value), 0);
            EXPECT_EQ(t.t_C4DOS_Gv->link(value), nullptr);
            continue;
        }
        EXPECT_EQ(t.t_C4DOS_Gv->type(value), HOST_DATA_TYPE_LINK);
        HostElement* shader = t.t_C4DOS_Ln->resolve(t.t_C4DOS_Gv->link(value), doc);
        linked.push_back(shader ? name(shader) : "(none)");
    }
    t.t_C4DOS_Gv->free(value);
    EXPECT_EQ(kinds, (std::vector<int32_t>{2, 2, 2, 2, 5}));
    EXPECT_EQ(linked, (std::vector<std::string>{"Noise", "Legacy Glow", "Layer", "(none)"}));
    t.t_C4DOS_At->free(array);

    HostElement* settings = t.t_C4DOS_Bd->activeRenderSettings(doc);
    EXPECT_EQ(name(settings), "Final");
    EXPECT_EQ(name(t.t_C4DOS_Br->firstVideoPost(settings)), "Soft Bloom");
    EXPECT_EQ(host.handles.count(HandleKind::Value) + host.handles.count(HandleKind::Link) +
                  host.handles.count(HandleKind::Array),
              0u);
}

TEST_F(SceneTables, LinksResolveOnlyInTheirDocument) {
    HostDocument* doc = scene.newDocument();
    HostDocument* other = scene.newDocument();
    HostElement* material = scene.addMaterial(*doc, "M", 5703);
    HostElement* layers = scene.setChannelShader(*material, 0, "Layer", HOST_LAYER_SHADER_TYPE);
    scene.addShaderLayer(*layers, "X", 1234);
    auto* library = static_cast<const HostLayerShaderLibrary*>(t.t_C4DOS_Lr->find(HOST_LIBRARY_LAYER_SHADER));
    HostValue* value = t.t_C4DOS_Gv->create();
    ASSERT_TRUE(library->getParameter(library->firstLayer(layers), HOST_LAYER_PARAMETER_LINK, value));
    EXPECT_NE(t.t_C4DOS_Ln->resolve(t.t_C4DOS_Gv->link(value), doc), nullptr);
    EXPECT_EQ(t.t_C4DOS_Ln->resolve(t.t_C4DOS_Gv->link(value), other), nullptr);
    t.t_C4DOS_Bl->unlink(material);
    EXPECT_EQ(t.t_C4DOS_Bl->document(layers), nullptr);
    EXPECT_EQ(t.t_C4DOS_Ln->resolve(t.t_C4DOS_Gv->link(value), doc), nullptr) << "an unlinked shader is in no document";
    t.t_C4DOS_Bl->free(material);
    EXPECT_EQ(t.t_C4DOS_Ln->resolve(t.t_C4DOS_Gv->link(value), doc), nullptr);
    t.t_C4DOS_Gv->free(value);
}

TEST_F(SceneTables, NoticesAreCountedInOrder) {
    HostDocument* doc = scene.newDocument();
    HostElement* material = scene.addMaterial(*doc, "M", 5703);
    t.t_C4DOS_Ge->stopBackgroundWork(HOST_BACKGROUND_WORK_ALL, HOST_BACKGROUND_SCENE_CHANGES, HOST_BACKGROUND_WAIT);
    t.t_C4DOS_Mt->update(material, true, true);
    t.t_C4DOS_Ba->sendMessage(material, HOST_MSG_MATERIAL_UPDATE, nullptr);
    t.t_C4DOS_Ge->sceneChanged(HOST_SCENE_CHANGED_REDRAW);
    t.t_C4DOS_Ge->sceneChanged(HOST_SCENE_CHANGED_REDRAW);
    const substitute::SceneNotices& n = scene.notices;
    EXPECT_EQ(n.backgroundStops, (std::vector<std::array<int32_t, 3>>{
                                     {HOST_BACKGROUND_WORK_ALL, HOST_BACKGROUND_SCENE_CHANGES, HOST_BACKGROUND_WAIT}}));
    ASSERT_EQ(n.materialUpdates.size(), 1u);
    EXPECT_EQ(n.materialUpdates[0].material, material->id);
    EXPECT_TRUE(n.materialUpdates[0].preview && n.materialUpdates[0].render);
    ASSERT_EQ(n.messages.size(), 1u);
    EXPECT_EQ(n.messages[0].id, HOST_MSG_MATERIAL_UPDATE);
    EXPECT_EQ(n.sceneChanges, (std::vector<int32_t>{HOST_SCENE_CHANGED_REDRAW, HOST_SCENE_CHANGED_REDRAW}));
}

TEST_F(SceneTables, TheRegistryFindsByIdAndKind) {
    scene.setPlugins({{1234, HOST_PLUGIN_KIND_TAG, "Legacy Tag"},
                      {1234, HOST_PLUGIN_KIND_SHADER, "Legacy Shader"},
                      {99, HOST_PLUGIN_KIND_VIDEO_POST, "Glow"}});
    HostPluginRecord* any = t.t_C4DOS_Pr->find(1234, HOST_PLUGIN_KIND_ANY);
    ASSERT_NE(any, nullptr);
    EXPECT_EQ(t.t_C4DOS_Pr->kind(any), HOST_PLUGIN_KIND_TAG);
    HostPluginRecord* shader = t.t_C4DOS_Pr->find(1234, HOST_PLUGIN_KIND_SHADER);
    ASSERT_NE(shader, nullptr);
    HostString* text = t.t_C4DOS_Pr->name(shader);
    EXPECT_EQ(substitute::text(text, "test"), "Legacy Shader");
    substitute::releaseString(text);
    EXPECT_EQ(t.t_C4DOS_Pr->find(1234, HOST_PLUGIN_KIND_OBJECT), nullptr);
    EXPECT_EQ(t.t_C4DOS_Pr->find(98, HOST_PLUGIN_KIND_ANY), nullptr);
}

TEST_F(SceneTables, TheRegistryKnowsTheApplicationsOwnTypesBesideTheFilesPlugins) {
    const auto nameOf = [&](int32_t id, int32_t kind) {
        HostPluginRecord* record = t.t_C4DOS_Pr->find(id, kind);
        if (record == nullptr) return std::string("(none)");
        HostString* text = t.t_C4DOS_Pr->name(record);
        std::string name(substitute::text(text, "test"));
        substitute::releaseString(text);
        return name;
    };
    EXPECT_EQ(nameOf(5159, HOST_PLUGIN_KIND_OBJECT), "Cube");
    EXPECT_EQ(nameOf(5671, HOST_PLUGIN_KIND_TAG), "UVW");
    EXPECT_EQ(nameOf(5703, HOST_PLUGIN_KIND_MATERIAL), "Material");
    EXPECT_EQ(nameOf(HOST_LAYER_SHADER_TYPE, HOST_PLUGIN_KIND_SHADER), "Layer");
    EXPECT_EQ(nameOf(300001, HOST_PLUGIN_KIND_VIDEO_POST), "Ambient Occlusion");
    EXPECT_EQ(nameOf(5159, HOST_PLUGIN_KIND_ANY), "Cube");
    EXPECT_EQ(nameOf(5159, HOST_PLUGIN_KIND_TAG), "(none)");  // built-in for one kind only

    // A file's record of the same id and kind stands for the built-in one;
    // of another kind it stands beside it, and is asked first for any kind.
    scene.setPlugins({{5159, HOST_PLUGIN_KIND_OBJECT, "Rounded Cube"}, {5160, HOST_PLUGIN_KIND_TAG, "Sphere Tag"}});
    EXPECT_EQ(nameOf(5159, HOST_PLUGIN_KIND_OBJECT), "Rounded Cube");
    EXPECT_EQ(nameOf(5160, HOST_PLUGIN_KIND_OBJECT), "Sphere");
    EXPECT_EQ(nameOf(5160, HOST_PLUGIN_KIND_TAG), "Sphere Tag");
    EXPECT_EQ(nameOf(5160, HOST_PLUGIN_KIND_ANY), "Sphere Tag");
    // The built-in types are the application's: a scene file never lists them.
    EXPECT_EQ(scene.plugins().size(), 2u);
    scene.setPlugins({});
    EXPECT_EQ(nameOf(5159, HOST_PLUGIN_KIND_OBJECT), "Cube");
}

TEST_F(SceneTables, TheHostMayHaveNoActiveDocument) {
    HostDocument* doc = scene.newDocument();
    EXPECT_EQ(t.t_C4DOS_Ge->activeDocument(), doc);
    scene.setActiveDocument(nullptr);
    EXPECT_EQ(t.t_C4DOS_Ge->activeDocument(), nullptr);
}

TEST_F(SceneTables, FreeEndsTheLifeOfEverythingBelow) {
    HostDocument* doc = scene.newDocument();
    HostElement* parent = scene.addObject(*doc, nullptr, "P", 1);
    scene.addTag(*scene.addObject(*doc, parent, "C", 1), "T", 2);
    HostElement* material = scene.addMaterial(*doc, "M", 5703);
    scene.addShaderLayer(*scene.addReflectanceShader(*material, "L", HOST_LAYER_SHADER_TYPE), "X", 3);
    scene.addLayer(*scene.setChannelShader(*material, 5, "L2", HOST_LAYER_SHADER_TYPE), 1);
    scene.addVideoPost(*scene.addRenderSettings(*doc, "R", true), "V", 4);
    EXPECT_EQ(host.handles.count(HandleKind::Element), 9u);

    t.t_C4DOS_Bl->free(parent);
    EXPECT_EQ(host.handles.count(HandleKind::Element), 6u);
    t.t_C4DOS_Bl->unlink(material);
    t.t_C4DOS_Bl->free(material);
    EXPECT_EQ(host.handles.count(HandleKind::Element), 2u);
    EXPECT_EQ(host.handles.count(HandleKind::Channel), 0u);
    EXPECT_EQ(host.handles.count(HandleKind::Layer), 0u);
    scene.closeDocument(doc);
    EXPECT_EQ(host.handles.count(HandleKind::Element), 0u);
    EXPECT_EQ(host.handles.count(HandleKind::Document), 0u);
}

TEST_F(SceneTables, BadHandlesStopTheRunNamingTheOperation) {
    HostDocument* doc = scene.newDocument();
    HostElement* object = scene.addObject(*doc, nullptr, "Cube", 5159);
    HostElement* tag = scene.addTag(*object, "Legacy", 1234);
    HostElement* freed = scene.addObject(*doc, nullptr, "Gone", 5159);
    t.t_C4DOS_Bl->unlink(freed);
    t.t_C4DOS_Bl->free(freed);

    EXPECT_DEATH(t.t_C4DOS_Bl->next(freed), "module fault in Bl.next: element handle 0x\\w+ is not live");
    EXPECT_DEATH(t.t_C4DOS_Ba->typeId(freed), "Ba.typeId: element handle .* is not live");
    EXPECT_DEATH(t.t_C4DOS_Bl->free(freed), "Bl.free: element handle .* is not live");
    EXPECT_DEATH(t.t_C4DOS_Bl->firstChild(tag), "Bl.firstChild: element \"Legacy\" is a tag, not an object");
    EXPECT_DEATH(t.t_C4DOS_Bd->firstObject(reinterpret_cast<HostDocument*>(object)),
                 "Bd.firstObject: handle .* is a handle of kind element, not document");
    EXPECT_DEATH(t.t_C4DOS_Ba->name(nullptr), "Ba.name: null element handle");
    HostArray* array = t.t_C4DOS_At->create();
    EXPECT_DEATH(t.t_C4DOS_At->entry(array, 0), "At.entry: index 0 outside 0..-1");
    EXPECT_DEATH(t.t_C4DOS_Bd->selectedObjects(doc, array, 1), "only selection flags 0");
    t.t_C4DOS_At->free(array);
    EXPECT_DEATH(t.t_C4DOS_At->count(array), "At.count: array handle .* is not live");
}

}  // namespace
