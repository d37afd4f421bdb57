// The search on scenes that are deep, damaged or generated at random, and
// with the host running out of memory.
#include <random>

#include "expected_notices.h"
#include "search_fixture.h"

using Strings = std::vector<std::string>;

TEST_F(SearchTest, AMillionLevelsDeepHierarchy) {
    constexpr int32_t depth = 1000000;
    HostElement* parent = nullptr;
    for (int32_t level = 0; level < depth; ++level) {
        const bool instance = level == depth / 2 || level == depth - 1;
        parent = scene().addObject(*document, parent, "o" + std::to_string(level), instance ? kPlugin : 5159);
    }
    run(Object, GenerateList);
    EXPECT_EQ(rows(), (Strings{"0 o999999", "1 o500000"}));
    EXPECT_EQ(notices(), size_t(depth));  // one per object with children, and the top

    run(Object, Remove);
    EXPECT_EQ(undoSteps(), (Strings{"o999999", "o500000"}));
    ASSERT_TRUE(scene().undo(*document));
    run(Tag, GenerateList);
    EXPECT_EQ(rows(), Strings{"0 Tag plugin 1234 not found."});
    run(Object, GenerateList);
    EXPECT_EQ(rows(), (Strings{"0 o999999", "1 o500000"}));
}

TEST_F(SearchTest, TenThousandNestedLayerShaders) {
    HostElement* material = scene().addMaterial(*document, "M", 5703);
    HostElement* layers = scene().setChannelShader(*material, 2, "L0", kLayerShader);
    for (int32_t level = 1; level < 10000; ++level) {
        if (level % 2500 == 0) scene().addShaderLayer(*layers, "x" + std::to_string(level), kPlugin);
        layers = scene().addShaderLayer(*layers, "L" + std::to_string(level), kLayerShader);
    }
    scene().addShaderLayer(*layers, "bottom", kPlugin);

    // (Printing this scene costs more than everything else: the rows tell.)
    const Strings listed{"0 M ch2 layered", "1 M ch2 layered", "2 M ch2 layered", "3 M ch2 layered"};
    run(Shader, GenerateList);
    EXPECT_EQ(rows(), listed);
    run(Shader, Remove);
    EXPECT_EQ(undoSteps(), (Strings{"x2500", "x5000", "x7500", "bottom"}));
    ASSERT_TRUE(scene().undo(*document));
    run(Shader, GenerateList);
    EXPECT_EQ(rows(), listed);
}

TEST_F(SearchTest, LayerCyclesAreWalkedOnce) {
    HostElement* material = scene().addMaterial(*document, "M", 5703);
    HostElement* outer = scene().setChannelShader(*material, 0, "outer", kLayerShader);
    HostElement* inner = scene().addShaderLayer(*outer, "inner", kLayerShader);
    scene().addShaderLayer(*inner, "x", kPlugin);
    scene().addLayer(*inner, 2).link = outer->id;  // back to the enclosing one
    scene().addLayer(*outer, 2).link = outer->id;  // to itself
    scene().addShaderLayer(*outer, "y", kPlugin);
    const Strings before = describe();

    run(Shader, GenerateList);
    EXPECT_EQ(rows(), (Strings{"0 M ch0 layered", "1 M ch0 layered"}));
    run(Shader, Remove);
    EXPECT_EQ(undoSteps(), (Strings{"x", "y"}));
    expectUndoRedo(before);
}

// A damaged scene reaches one shader twice, or one inside another that the
// same run removes: each is removed once, in walk order, and nothing freed
// is touched (the substitute host would stop the test).
TEST_F(SearchTest, ShadersReachedTwiceAreRemovedOnce) {
    struct Case {
        int32_t holderChannel;  // where the instance p holding x sits
        int32_t linkChannel;    // where a layer shader links to x
        Strings removed;
    };
    for (const Case& c : {Case{0, 5, {"p"}}, Case{5, 0, {"x", "p"}}}) {
        SCOPED_TRACE(c.holderChannel);
        document = scene().newDocument();
        HostElement* material = scene().addMaterial(*document, "M", 5703);
        HostElement* p = scene().setChannelShader(*material, c.holderChannel, "p", kPlugin);
        HostElement* x = scene().addShaderLayer(*p, "x", kPlugin);
        HostElement* layers = scene().setChannelShader(*material, c.linkChannel, "layers", kLayerShader);
        scene().addLayer(*layers, 2).link = x->id;
        scene().addLayer(*layers, 2).link = x->id;
        HostElement* again = scene().addReflectanceShader(*material, "again", kLayerShader);
        scene().addLayer(*again, 2).link = x->id;
        const Strings before = describe();

        run(Shader, Remove);
        EXPECT_EQ(undoSteps(), c.removed);
        EXPECT_EQ(rows(), Strings{"0 Shader plugin 1234 not found."});
        expectUndoRedo(before);
    }
}

// A temporary host object that cannot be made cuts the run short: the user
// is told, no not-found row claims that nothing is there, nothing is removed.
TEST_F(SearchTest, FailedTemporaryObjectsCutTheRunShortAndLeakNothing) {
    HostElement* object = scene().addObject(*document, nullptr, "A", kPlugin);
    object->selected = true;
    HostElement* material = scene().addMaterial(*document, "M", 5703);
    scene().setChannelShader(*material, 0, "plain", kPlugin);
    HostElement* layers = scene().setChannelShader(*material, 1, "layers", kLayerShader);
    scene().addShaderLayer(*layers, "layered", kPlugin);
    scene().addReflectanceShader(*material, "refl", kPlugin);
    const Strings before = describe();

    bound.host.services.failObjectCreation(1);  // the selection
    run(Object, Remove, kPlugin, 1);
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(document->undo.done.empty());
    EXPECT_EQ(describe(), before);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, kit::nothingRemoved);

    boxes().clear();
    bound.host.services.failObjectCreation(2);  // the value read from the layers
    run(Shader, GenerateList);
    EXPECT_EQ(rows(), Strings{"0 M ch0"});
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, kit::listIncomplete);

    bound.host.services.failObjectCreation(1);  // the reflectance list
    run(Shader, Remove);
    EXPECT_EQ(describe(), before);
    EXPECT_TRUE(document->undo.done.empty());
}

TEST_F(SearchTest, OutOfMemoryEndsTheWalkWithoutChangingMore) {
    HostElement* parent = nullptr;
    for (int32_t level = 0; level < 20; ++level) {
        parent = scene().addObject(*document, parent, "o" + std::to_string(level), level % 5 == 4 ? kPlugin : 1);
        scene().addTag(*parent, "t" + std::to_string(level), kPlugin);
    }
    const Strings before = describe();
    // The room for the not-found row, then the walk's stack, which holds 16
    // levels before it grows.
    bound.host.services.failAllocation(3);
    run(Object, Remove);
    EXPECT_TRUE(document->undo.done.empty());
    EXPECT_EQ(describe(), before);
    EXPECT_EQ(notices(), 16u);
    EXPECT_TRUE(rows().empty());
}

TEST_F(SearchTest, AFailedRowCutsTheListShortAndKeepsTheRowsBefore) {
    for (int32_t i = 0; i < 20; ++i) {
        const std::string name = "O" + std::to_string(i);
        scene().addTag(*scene().addObject(*document, nullptr, name, 5159), "t" + name, kPlugin);
    }
    // The list's first storage (made before the walk) holds 16 rows; the
    // walk's stack comes second, the larger storage third.
    bound.host.services.failAllocation(3);
    run(Tag, GenerateList);
    ASSERT_EQ(rows().size(), 16u);
    EXPECT_EQ(rows().front(), "0 O0 #tO0");
    EXPECT_EQ(rows().back(), "15 O15 #tO15");
    EXPECT_EQ(dialog->results.rowCounter, 16);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, kit::listIncomplete);
}

// ---- Randomized round trip ------------------------------------------------------------

namespace {

struct Expected {
    int32_t objects = 0, tags = 0, shaders = 0, videoPosts = 0;
    int32_t objectsWithChildren = 0;
};

struct SceneGenerator {
    substitute::Scene& scene;
    HostDocument& document;
    std::mt19937& rng;
    Expected expected;

    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }
    int32_t upTo(int32_t n) { return std::uniform_int_distribution<int32_t>(0, n)(rng); }
    int32_t shaderType() { return chance(0.3) ? kPlugin : chance(0.4) ? kLayerShader : 1011116; }

    // Layers of a layer shader; counted when the walk reaches them.
    void fillLayers(HostElement& layerShader, int32_t depth, bool reached) {
        for (int32_t i = upTo(3); i > 0; --i) {
            if (chance(0.2)) {
                scene.addLayer(layerShader, chance(0.5) ? 2 : 1);
                continue;
            }
            HostElement* shader = scene.addShaderLayer(layerShader, "s", depth >= 3 ? kPlugin : shaderType());
            place(*shader, depth + 1, reached);
        }
    }
    void place(HostElement& shader, int32_t depth, bool reached) {
        if (shader.type == kPlugin) expected.shaders += reached ? 1 : 0;
        if (shader.type == kLayerShader) fillLayers(shader, depth, reached);
    }

    void generate() {
        std::vector<HostElement*> objects;
        for (int32_t i = upTo(25); i > 0; --i) {
            HostElement* parent =
                objects.empty() || chance(0.3) ? nullptr : objects[size_t(upTo(int32_t(objects.size()) - 1))];
            if (parent && substitute::asObject(*parent).children.empty()) ++expected.objectsWithChildren;
            HostElement* object =
                scene.addObject(document, parent, "o" + std::to_string(i), chance(0.2) ? kPlugin : 5159);
            expected.objects += object->type == kPlugin;
            for (int32_t t = upTo(3); t > 0; --t) {
                const bool instance = chance(0.4);
                scene.addTag(*object, "t", instance ? kPlugin : 5600);
                expected.tags += instance;
            }
            objects.push_back(object);
        }
        std::vector<HostElement*> materials;
        for (int32_t i = upTo(4); i > 0; --i) {
            materials.push_back(scene.addMaterial(document, "m" + std::to_string(i), 5703));
        }
        for (HostElement* material : materials) {
            for (int32_t c = 0; c < 15; ++c) {
                if (!chance(0.3)) continue;
                if (c != 3) {
                    place(*scene.setChannelShader(*material, c, "c", shaderType()), 0, true);
                    continue;
                }
                for (int32_t r = upTo(3); r > 0; --r) {
                    const bool foreign = chance(0.2) && materials.size() > 1;
                    const uint64_t owner = foreign ? (material == materials[0] ? materials[1] : materials[0])->id
                                                   : substitute::holderIsOwner;
                    place(*scene.addReflectanceShader(*material, "r", shaderType(), owner), 0, !foreign);
                }
            }
        }
        HostElement* settings = scene.addRenderSettings(document, "R", true);
        for (int32_t i = upTo(4); i > 0; --i) {
            const bool instance = chance(0.5);
            scene.addVideoPost(*settings, "v", instance ? kPlugin : 1);
            expected.videoPosts += instance;
        }
    }
};

}  // namespace

TEST_F(SearchTest, RandomScenesRoundTrip) {
    std::mt19937 rng(20260);
    struct Kind {
        PluginType driver;
        int32_t Expected::*count;
        const char* notFound;
    };
    const Kind kinds[] = {
        {Tag, &Expected::tags, "0 Tag plugin 1234 not found."},
        {Shader, &Expected::shaders, "0 Shader plugin 1234 not found."},
        {Object, &Expected::objects, "0 Object plugin 1234 not found."},
        {PostEffect, &Expected::videoPosts, "0 VP plugin 1234 not found."},
    };
    for (int32_t round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        document = scene().newDocument();
        SceneGenerator generator{scene(), *document, rng, {}};
        generator.generate();
        const Strings original = describe();
        for (const Kind& kind : kinds) {
            const int32_t count = generator.expected.*kind.count;
            const size_t noticesBefore = notices();
            run(kind.driver, GenerateList);
            EXPECT_EQ(rows().size(), size_t(std::max(count, 1)));
            if (count == 0) {
                EXPECT_EQ(rows(), Strings{kind.notFound});
            }
            const bool objectWalk = kind.driver == Object || kind.driver == Tag;
            if (objectWalk) {
                EXPECT_EQ(notices() - noticesBefore, size_t(1 + generator.expected.objectsWithChildren));
            }
            run(kind.driver, Remove);
            EXPECT_EQ(rows(), Strings{kind.notFound});
            if (count == 0) continue;
            EXPECT_EQ(undoSteps().size(), size_t(count));
            const Strings removed = describe();
            run(kind.driver, GenerateList);
            EXPECT_EQ(rows(), Strings{kind.notFound});
            ASSERT_TRUE(scene().undo(*document));
            ASSERT_EQ(describe(), original);
            ASSERT_TRUE(scene().redo(*document));
            ASSERT_EQ(describe(), removed);
            ASSERT_TRUE(scene().undo(*document));
        }
    }
}
