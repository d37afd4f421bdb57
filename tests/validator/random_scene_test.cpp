// Random cases must replay alike on every platform and standard library: a
// seed gives the same choices and the same scene everywhere, and every scene
// it gives loads. Its scenes give both missing-plug-in actions work, and
// removals that keep children Nulls to make, nested both ways.
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "checks/random_scene.h"
#include "core/substitute_host.h"
#include "framework/choices.h"
#include "scene/scene_walk.h"
#include "scene_file/scene_file.h"

namespace {

// FNV-1a: a short fingerprint of a scene's text.
uint64_t fingerprint(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

// Per plug-in type (tag, shader, object, video post, material): whether the
// scene has an instance the registry does not know for that kind, and one of
// a plug-in its own records register; and whether render settings other than
// the active one hold a missing video post.
struct PluginInstances : substitute::SceneVisitor {
    explicit PluginInstances(const substitute::Scene& scene) : scene_(scene) {}
    static constexpr size_t typeCount = 5;
    bool missing[typeCount] = {};
    bool registered[typeCount] = {};
    bool missingOutsideActive = false;

    void enterElement(const HostElement& element) override {
        using substitute::ElementKind;
        if (element.kind == ElementKind::RenderSettings) activeSettings_ = substitute::asRenderSettings(element).active;
        constexpr struct {
            ElementKind kind;
            int32_t pluginKind;
        } types[typeCount] = {{ElementKind::Tag, 6},
                              {ElementKind::Shader, 1},
                              {ElementKind::Object, 5},
                              {ElementKind::VideoPost, 8},
                              {ElementKind::Material, 2}};
        for (size_t type = 0; type < typeCount; ++type) {
            if (element.kind != types[type].kind) continue;
            const bool known = scene_.findPlugin(element.type, types[type].pluginKind) != nullptr;
            const bool ownRecord =
                std::find(std::begin(validator::randomPluginIds), std::end(validator::randomPluginIds), element.type) !=
                std::end(validator::randomPluginIds);
            missing[type] = missing[type] || !known;
            registered[type] = registered[type] || (known && ownRecord);
            missingOutsideActive = missingOutsideActive || (type == 3 && !known && !activeSettings_);
        }
    }
    void enterList(const substitute::ElementList&) override {}
    void leaveList(const substitute::ElementList&) override {}
    void leaveElement(const HostElement&) override {}
    void enterChannel(const HostChannel&, int32_t) override {}
    void leaveChannel(const HostChannel&) override {}
    void enterLayer(const HostLayer&, const HostElement*) override {}
    void leaveLayer(const HostLayer&) override {}

private:
    const substitute::Scene& scene_;
    bool activeSettings_ = false;
};

// Where the scene's shaders lie: owned by each kind of element (object, tag,
// material, video post), below shaders three deep under an owner, a missing
// one below a registered one and the reverse.
struct ShaderPlaces {
    bool ownedBy[4] = {};
    bool threeDeep = false;
    bool missingBelowRegistered = false;
    bool registeredBelowMissing = false;
};

ShaderPlaces shaderPlaces(const substitute::Scene& scene, const HostDocument& document) {
    using substitute::ElementKind;
    ShaderPlaces places;
    const auto known = [&](const HostElement& shader) { return scene.findPlugin(shader.type, 1) != nullptr; };
    std::vector<const HostElement*> pending;
    auto addShaders = [&](const HostElement& holder) {
        if (const substitute::ElementList* shaders = substitute::shadersOf(holder)) {
            for (const HostElement* shader = shaders->first; shader; shader = shader->next) pending.push_back(shader);
        }
    };
    for (const HostElement* o = document.objects.first; o; o = substitute::nextInPreOrder(o)) {
        addShaders(*o);
        for (const HostElement* tag = substitute::asObject(*o).tags.first; tag; tag = tag->next) addShaders(*tag);
    }
    for (const HostElement* material = document.materials.first; material; material = material->next) {
        addShaders(*material);
    }
    for (const HostElement* settings = document.renderSettings.first; settings; settings = settings->next) {
        for (const HostElement* post = substitute::asRenderSettings(*settings).videoPosts.first; post;
             post = post->next) {
            addShaders(*post);
        }
    }
    constexpr ElementKind owners[] = {ElementKind::Object, ElementKind::Tag, ElementKind::Material,
                                      ElementKind::VideoPost};
    while (!pending.empty()) {
        const HostElement& shader = *pending.back();
        pending.pop_back();
        const HostElement& holder = *shader.list->holder;
        for (size_t kind = 0; kind < std::size(owners); ++kind) places.ownedBy[kind] |= holder.kind == owners[kind];
        if (holder.kind == ElementKind::Shader) {
            places.missingBelowRegistered |= !known(shader) && known(holder);
            places.registeredBelowMissing |= known(shader) && !known(holder);
            const HostElement& above = *holder.list->holder;
            places.threeDeep |= above.kind == ElementKind::Shader && above.list->role == substitute::ListRole::Shaders;
        }
        addShaders(shader);
    }
    return places;
}

// Whether object, of a plug-in id, holds below a child the pattern of types
// that follows it: "i" that id again, "k" another type. "kik": a child that
// stays holding an instance holding one that stays.
bool holds(const HostElement& object, int32_t id, std::string_view pattern) {
    if (pattern.empty()) return true;
    for (const HostElement* child = substitute::asObject(object).children.first; child; child = child->next) {
        if ((child->type == id) == (pattern[0] == 'i') && holds(*child, id, pattern.substr(1))) return true;
    }
    return false;
}

// Whether some instance of a plug-in of the pool in document holds pattern.
bool anyHolds(const HostDocument& document, std::string_view pattern) {
    for (const HostElement* o = document.objects.first; o; o = substitute::nextInPreOrder(o)) {
        const bool instance = std::find(std::begin(validator::randomPluginIds), std::end(validator::randomPluginIds),
                                        o->type) != std::end(validator::randomPluginIds);
        if (instance && holds(*o, o->type, pattern)) return true;
    }
    return false;
}

}  // namespace

TEST(RandomSceneTest, ScenesNestInstancesWithObjectsThatStayBothWays) {
    constexpr int scenes = 100;
    int throughKept = 0, straight = 0;
    for (uint64_t seed = 1; seed <= scenes; ++seed) {
        validator::Choices choices(seed);
        substitute::SubstituteHost host;
        const substitute::SceneLoad load = substitute::loadScene(host.scene, validator::randomScene(choices, {}));
        ASSERT_NE(load.document, nullptr) << load.error;
        // instance > kept > instance > kept, and instance > instance > kept.
        throughKept += anyHolds(*load.document, "kik");
        straight += anyHolds(*load.document, "ik");
    }
    EXPECT_GE(throughKept, scenes / 3);
    EXPECT_GE(straight, scenes / 3);
}

TEST(RandomSceneTest, ScenesHoldMissingAndRegisteredPluginsOfEveryType) {
    constexpr int scenes = 100;
    constexpr size_t types = PluginInstances::typeCount;
    int missing[types] = {}, registered[types] = {}, missingOutsideActive = 0;
    for (uint64_t seed = 1; seed <= scenes; ++seed) {
        validator::Choices choices(seed);
        substitute::SubstituteHost host;
        const substitute::SceneLoad load = substitute::loadScene(host.scene, validator::randomScene(choices, {}));
        ASSERT_NE(load.document, nullptr) << load.error;
        PluginInstances instances(host.scene);
        substitute::walkDocument(host.scene, *load.document, instances);
        for (size_t type = 0; type < types; ++type) {
            missing[type] += instances.missing[type];
            registered[type] += instances.registered[type];
        }
        missingOutsideActive += instances.missingOutsideActive;
    }
    // Most scenes give each type work to both actions, and something to leave.
    for (size_t type = 0; type < types; ++type) {
        EXPECT_GE(missing[type], scenes / 4) << "type " << type;
        EXPECT_GE(registered[type], scenes / 5) << "type " << type;
    }
    // The missing-plug-ins actions and scope 3 look past the active render settings.
    EXPECT_GE(missingOutsideActive, scenes / 6);
}

TEST(RandomSceneTest, ScenesHoldOwnedShadersOfEveryOwnerAndShadersBelowShaders) {
    constexpr int scenes = 100;
    int ownedBy[4] = {}, threeDeep = 0, missingBelowRegistered = 0, registeredBelowMissing = 0;
    for (uint64_t seed = 1; seed <= scenes; ++seed) {
        validator::Choices choices(seed);
        substitute::SubstituteHost host;
        const substitute::SceneLoad load = substitute::loadScene(host.scene, validator::randomScene(choices, {}));
        ASSERT_NE(load.document, nullptr) << load.error;
        const ShaderPlaces places = shaderPlaces(host.scene, *load.document);
        for (size_t kind = 0; kind < std::size(ownedBy); ++kind) ownedBy[kind] += places.ownedBy[kind];
        threeDeep += places.threeDeep;
        missingBelowRegistered += places.missingBelowRegistered;
        registeredBelowMissing += places.registeredBelowMissing;
    }
    // Object, tag, material, video post.
    for (size_t kind = 0; kind < std::size(ownedBy); ++kind) EXPECT_GE(ownedBy[kind], scenes / 4) << "owner " << kind;
    EXPECT_GE(threeDeep, scenes / 10);
    EXPECT_GE(missingBelowRegistered, scenes / 5);
    EXPECT_GE(registeredBelowMissing, scenes / 5);
}

TEST(RandomSceneTest, ASeedGivesTheSameChoicesEverywhere) {
    // The engine's output is fixed by the language; these numbers hold only
    // while nothing platform-dependent stands between it and the choices.
    validator::Choices choices(1);
    std::vector<uint64_t> drawn;
    for (int i = 0; i < 8; ++i) drawn.push_back(choices.below(1000));
    EXPECT_EQ(drawn, (std::vector<uint64_t>{528, 462, 930, 246, 384, 409, 628, 665}));

    validator::Choices bounds(7);
    bool low = false, high = false;
    for (int i = 0; i < 1000; ++i) {
        const int64_t value = bounds.between(-2, 2);
        ASSERT_GE(value, -2);
        ASSERT_LE(value, 2);
        low = low || value == -2;
        high = high || value == 2;
    }
    EXPECT_TRUE(low && high);
}

TEST(RandomSceneTest, ASeedGivesTheSameSceneAndEverySceneLoads) {
    validator::Choices first(1), again(1);
    const validator::SceneShape shape;
    const std::string scene = validator::randomScene(first, shape);
    EXPECT_EQ(validator::randomScene(again, shape), scene);
    EXPECT_EQ(fingerprint(scene), 13917277130771654316ull) << scene;

    validator::SceneShape large;
    large.objects = 60;
    large.depth = 8;
    large.materials = 6;
    large.layerDepth = 5;
    for (uint64_t seed = 1; seed <= 300; ++seed) {
        validator::Choices choices(seed);
        const std::string text = validator::randomScene(choices, seed % 2 ? shape : large);
        // A saved scene loads and saves to the same bytes, so checks can compare texts.
        std::string saved;
        {
            substitute::SubstituteHost host;
            const substitute::SceneLoad load = substitute::loadScene(host.scene, text);
            ASSERT_NE(load.document, nullptr) << "seed " << seed << ": " << load.error << "\n" << text;
            saved = substitute::saveScene(host.scene, *load.document);
        }
        substitute::SubstituteHost host;
        const substitute::SceneLoad reloaded = substitute::loadScene(host.scene, saved);
        ASSERT_NE(reloaded.document, nullptr) << reloaded.error;
        EXPECT_EQ(substitute::saveScene(host.scene, *reloaded.document), saved);
    }
}
