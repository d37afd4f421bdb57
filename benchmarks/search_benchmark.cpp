// Generate List and Remove, and Find and Remove Missing Plugins, over
// generated scenes, each beside a bare traversal of the same scene through
// the same host calls that matches nothing. The ratio of a run to its bare
// traversal is the search's own cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bound_host.h"
#include "search.h"

namespace {

constexpr int32_t plugin = 1234;
constexpr int32_t otherType = 5159;

// Instances of missing plug-ins: seven ids the registry does not know.
int32_t missingType(int64_t i) { return 2000000 + int32_t(i % 7); }

// What a generated scene holds beside its objects and materials.
struct Extras {
    bool missing = false;           // the instances are of missing plug-ins
    bool missingMaterials = false;  // 2 % of the materials are of missing plug-ins too
    int64_t renderSettings = 1;     // with missing: so many, the second active (or the only one)
    bool holdingInstances = false;  // the instance objects hold leaves in place of being leaves
    bool ownedShaders = false;      // a tenth of the objects own a missing shader holding an installed one
};

// A host with one generated scene: objects in a 4-ary tree, each with one
// tag; 1 % of the objects (leaves, so a removal takes nothing else along) and
// 1 % of the tags are instances. Materials with two channel shaders and a
// reflectance shader; 1 % of those shaders are instances. With missing, the
// instances are of missing plug-ins (whose type is missingType), and each
// render settings holds ten video posts, two of them missing. With
// holdingInstances, the 1 % of instance objects are parents of leaves (three
// sixteenths of the tree are), each holding four leaves with a tag each.
struct Bench {
    BoundHost bound;
    HostDocument* document = nullptr;
    ResultStore store;

    Bench(int64_t objects, int64_t materials, Extras extras = {}) {
        substitute::Scene& scene = bound.host.scene;
        document = scene.newDocument();
        const bool missing = extras.missing;
        const auto instance = [&](int64_t i) { return missing ? missingType(i) : plugin; };
        std::vector<HostElement*> made;
        made.reserve(size_t(objects));
        for (int64_t i = 0; i < objects; ++i) {
            HostElement* parent = i == 0 ? nullptr : made[size_t((i - 1) / 4)];
            const bool leaf = 4 * i + 1 >= objects;
            const bool holdsLeaves = !leaf && 4 * (4 * i + 1) + 1 >= objects;
            const bool isInstance = extras.holdingInstances ? holdsLeaves && i % 19 == 0 : leaf && i % 75 == 0;
            HostElement* object = scene.addObject(*document, parent, "o", isInstance ? instance(i) : otherType);
            scene.addTag(*object, "t", i % 100 == 25 ? instance(i) : 5600);
            if (extras.ownedShaders && i % 10 == 3)
                scene.addShader(*scene.addShader(*object, "s", instance(i)), "b", 1011116);
            made.push_back(object);
        }
        for (int64_t m = 0; m < materials; ++m) {
            // Half the missing materials hold a missing shader, which goes with them.
            const bool missingMaterial = extras.missingMaterials && m % 50 == 20;
            HostElement* material = scene.addMaterial(*document, "m", missingMaterial ? missingType(m) : 5703);
            const int64_t shader = 3 * m;
            scene.setChannelShader(*material, 0, "c0", shader % 100 == 10 ? instance(shader) : 1011116);
            scene.setChannelShader(*material, 6, "c6", (shader + 1) % 100 == 10 ? instance(shader) : 1011116);
            scene.addReflectanceShader(*material, "r", (shader + 2) % 100 == 10 ? instance(shader) : 1011116);
        }
        if (!missing) return;
        for (int64_t r = 0; r < extras.renderSettings; ++r) {
            HostElement* settings =
                scene.addRenderSettings(*document, "r", r == std::min<int64_t>(1, extras.renderSettings - 1));
            for (int64_t v = 0; v < 10; ++v) {
                scene.addVideoPost(*settings, "v", v % 5 == 2 ? missingType(v + r) : 300001);
            }
        }
    }

    void findAndRemoveMissing(benchmark::State& state, Action action) {
        // Children kept: a removed object that holds some becomes a Null.
        const SearchRequest request{action, PluginType::Tag, 0, 0, false, false, true};
        for (auto _ : state) {
            MissingPlugins missing;
            findMissingPlugins(document, request, missing, store);
            if (action != Action::RemoveMissing) continue;
            removeMissingPlugins(document, missing, store);
            state.PauseTiming();
            bound.host.scene.undo(*document);
            state.ResumeTiming();
        }
    }

    void runAndUndo(benchmark::State& state, PluginType type, Action action) {
        const SearchRequest request{action, type, plugin, 0, false, false};
        for (auto _ : state) {
            runSearch(document, request, store);
            if (action != Action::Remove) continue;
            state.PauseTiming();
            bound.host.scene.undo(*document);
            state.ResumeTiming();
        }
    }
};

// Every tag of object with firstTag / next / typeId.
int64_t bareTagList(host::Element* object) {
    int64_t matches = 0;
    for (host::Element* tag = host::firstTag(object); tag != nullptr; tag = host::next(tag)) {
        matches += host::typeId(tag) == 42;
    }
    return matches;
}

// Every object with firstChild / next / typeId (and the tag query for tags).
int64_t bareObjects(host::Document* document, bool tags, bool everyTag = false) {
    int64_t matches = 0;
    std::vector<host::Element*> siblings;  // where to go on after a subtree
    for (host::Element* object = host::firstObject(document); object != nullptr || !siblings.empty();) {
        if (object == nullptr) {
            object = siblings.back();
            siblings.pop_back();
        }
        matches += everyTag ? bareTagList(object)
                   : tags   ? host::tagsOfType(object, 42).count
                            : host::typeId(object) == 42;
        host::Element* child = host::firstChild(object);
        host::Element* next = host::next(object);
        if (child != nullptr && next != nullptr) siblings.push_back(next);
        object = child != nullptr ? child : next;
    }
    return matches;
}

// Every material's 15 channels, their shaders and the reflectance list.
int64_t bareMaterials(host::Document* document) {
    int64_t matches = 0;
    host::ElementArray reflectance;
    for (host::Element* m = host::firstMaterial(document); m; m = host::next(m)) {
        for (int32_t c = 0; c < 15; ++c) {
            const HostChannel* channel = host::channel(m, c);
            if (channel == nullptr) continue;
            if (c == 3) {
                host::reflectanceShaders(m, reflectance);
                for (int32_t i = 0; i < reflectance.count(); ++i) {
                    host::Element* shader = reflectance.entry(i);
                    matches += host::shaderOwner(shader) == m && host::typeId(shader) == 42;
                }
            } else if (host::Element* shader = host::channelShader(channel)) {
                matches += host::typeId(shader) == 42;
            }
        }
        host::updateMaterial(m, true, true);
        host::sendMessage(m, 5);
    }
    return matches;
}

// A driver's run for one plug-in type over a scene of state.range(0) objects or materials.
void Run(benchmark::State& state, PluginType type, Action action) {
    const int64_t size = state.range(0);
    const bool materials = type == PluginType::Shader;
    Bench(materials ? 0 : size, materials ? size : 0).runAndUndo(state, type, action);
}
void Bare(benchmark::State& state, bool materials, bool tags) {
    const int64_t size = state.range(0);
    Bench bench(materials ? 0 : size, materials ? size : 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(materials ? bareMaterials(bench.document) : bareObjects(bench.document, tags));
    }
}

// The places of all four types: the object tree twice (tags, then objects),
// the materials and the video posts of the active render settings.
int64_t bareEveryPlace(host::Document* document) {
    int64_t matches = bareObjects(document, false, true) + bareObjects(document, false) + bareMaterials(document);
    const host::Element* settings = host::activeRenderSettings(document);
    for (host::Element* v = settings ? host::firstVideoPost(settings) : nullptr; v != nullptr; v = host::next(v)) {
        matches += host::typeId(v) == 42;
    }
    return matches;
}

// Find / Remove Missing Plugins over state.range(0) objects and a hundredth as many materials.
void Missing(benchmark::State& state, Action action) {
    Bench(state.range(0), state.range(0) / 100, {.missing = true}).findAndRemoveMissing(state, action);
}
void BareMissing(benchmark::State& state) {
    Bench bench(state.range(0), state.range(0) / 100, {.missing = true});
    for (auto _ : state) benchmark::DoNotOptimize(bareEveryPlace(bench.document));
}

// Remove Missing Plugins where every missing object holds children that
// stay: a Null made for each, its four children and its tag moved into it.
constexpr Extras holding{.missing = true, .holdingInstances = true};
void MissingKeepingChildren(benchmark::State& state) {
    Bench(state.range(0), state.range(0) / 100, holding).findAndRemoveMissing(state, Action::RemoveMissing);
}
void BareMissingHolding(benchmark::State& state) {
    Bench bench(state.range(0), state.range(0) / 100, holding);
    for (auto _ : state) benchmark::DoNotOptimize(bareEveryPlace(bench.document));
}

// The places of all five types: those of bareEveryPlace but every render
// settings' video posts in place of the active one's, and the material list
// once more for the materials' own type ids.
int64_t bareEveryPlaceAndSettings(host::Document* document) {
    int64_t matches = bareObjects(document, false, true) + bareObjects(document, false) + bareMaterials(document);
    for (host::Element* m = host::firstMaterial(document); m != nullptr; m = host::next(m)) {
        matches += host::typeId(m) == 42;
    }
    for (host::Element* s = host::firstRenderSettings(document); s != nullptr; s = host::next(s)) {
        for (host::Element* v = host::firstVideoPost(s); v != nullptr; v = host::next(v)) {
            matches += host::typeId(v) == 42;
        }
    }
    return matches;
}

// Missing plug-ins everywhere: state.range(0) objects, a tenth as many
// materials (2 % of them missing) and eight render settings, the second active.
constexpr Extras everywhere{.missing = true, .missingMaterials = true, .renderSettings = 8};
void MissingEverywhere(benchmark::State& state, Action action) {
    Bench(state.range(0), state.range(0) / 10, everywhere).findAndRemoveMissing(state, action);
}
void BareMissingEverywhere(benchmark::State& state) {
    Bench bench(state.range(0), state.range(0) / 10, everywhere);
    for (auto _ : state) benchmark::DoNotOptimize(bareEveryPlaceAndSettings(bench.document));
}

// Every shader from first and those below each, depth first.
int64_t bareShaderTree(host::Element* first) {
    int64_t matches = 0;
    std::vector<host::Element*> pending;  // where to go on after what lies below a shader
    for (host::Element* shader = first; shader != nullptr || !pending.empty();) {
        if (shader == nullptr) {
            shader = pending.back();
            pending.pop_back();
        }
        matches += host::typeId(shader) == 42;
        host::Element* below = host::firstShaderBelow(shader);
        host::Element* next = host::next(shader);
        if (below != nullptr && next != nullptr) pending.push_back(next);
        shader = below != nullptr ? below : next;
    }
    return matches;
}

// bareEveryPlaceAndSettings, then the shaders every element owns (those
// below the materials' channel shaders too), each with those below it.
int64_t bareEveryElementAndShader(host::Document* document) {
    int64_t matches = bareEveryPlaceAndSettings(document);
    std::vector<host::Element*> siblings;
    for (host::Element* object = host::firstObject(document); object != nullptr || !siblings.empty();) {
        if (object == nullptr) {
            object = siblings.back();
            siblings.pop_back();
        }
        matches += bareShaderTree(host::firstShader(object));
        for (host::Element* tag = host::firstTag(object); tag != nullptr; tag = host::next(tag)) {
            matches += bareShaderTree(host::firstShader(tag));
        }
        host::Element* child = host::firstChild(object);
        host::Element* next = host::next(object);
        if (child != nullptr && next != nullptr) siblings.push_back(next);
        object = child != nullptr ? child : next;
    }
    for (host::Element* m = host::firstMaterial(document); m != nullptr; m = host::next(m)) {
        matches += bareShaderTree(host::firstShader(m));
        for (int32_t c = 0; c < 15; ++c) {
            const HostChannel* channel = host::channel(m, c);
            if (host::Element* shader = channel ? host::channelShader(channel) : nullptr)
                matches += bareShaderTree(host::firstShaderBelow(shader));
        }
    }
    for (host::Element* s = host::firstRenderSettings(document); s != nullptr; s = host::next(s)) {
        for (host::Element* v = host::firstVideoPost(s); v != nullptr; v = host::next(v)) {
            matches += bareShaderTree(host::firstShader(v));
        }
    }
    return matches;
}

// Missing plug-ins everywhere, and a tenth of the objects owning a missing
// shader that holds an installed one.
constexpr Extras everywhereOwned{.missing = true, .missingMaterials = true, .renderSettings = 8, .ownedShaders = true};
void MissingOwnedShaders(benchmark::State& state, Action action) {
    Bench(state.range(0), state.range(0) / 10, everywhereOwned).findAndRemoveMissing(state, action);
}
void BareMissingOwnedShaders(benchmark::State& state) {
    Bench bench(state.range(0), state.range(0) / 10, everywhereOwned);
    for (auto _ : state) benchmark::DoNotOptimize(bareEveryElementAndShader(bench.document));
}

}  // namespace

#define OBJECT_SIZES RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)
#define MATERIAL_SIZES Arg(10000)->Unit(benchmark::kMillisecond)
BENCHMARK_CAPTURE(Bare, Objects, false, false)->OBJECT_SIZES;
BENCHMARK_CAPTURE(Run, Objects_GenerateList, PluginType::Object, Action::GenerateList)->OBJECT_SIZES;
BENCHMARK_CAPTURE(Run, Objects_Remove, PluginType::Object, Action::Remove)->OBJECT_SIZES;
BENCHMARK_CAPTURE(Bare, Tags, false, true)->OBJECT_SIZES;
BENCHMARK_CAPTURE(Run, Tags_GenerateList, PluginType::Tag, Action::GenerateList)->OBJECT_SIZES;
BENCHMARK_CAPTURE(Run, Tags_Remove, PluginType::Tag, Action::Remove)->OBJECT_SIZES;
BENCHMARK_CAPTURE(Bare, Materials, true, false)->MATERIAL_SIZES;
BENCHMARK_CAPTURE(Run, Materials_GenerateList, PluginType::Shader, Action::GenerateList)->MATERIAL_SIZES;
BENCHMARK_CAPTURE(Run, Materials_Remove, PluginType::Shader, Action::Remove)->MATERIAL_SIZES;
BENCHMARK(BareMissing)->OBJECT_SIZES;
BENCHMARK_CAPTURE(Missing, Find, Action::FindMissing)->OBJECT_SIZES;
BENCHMARK_CAPTURE(Missing, Remove, Action::RemoveMissing)->OBJECT_SIZES;
BENCHMARK(BareMissingHolding)->OBJECT_SIZES;
BENCHMARK(MissingKeepingChildren)->OBJECT_SIZES;
BENCHMARK(BareMissingEverywhere)->OBJECT_SIZES;
BENCHMARK_CAPTURE(MissingEverywhere, Find, Action::FindMissing)->OBJECT_SIZES;
BENCHMARK_CAPTURE(MissingEverywhere, Remove, Action::RemoveMissing)->OBJECT_SIZES;
BENCHMARK(BareMissingOwnedShaders)->OBJECT_SIZES;
BENCHMARK_CAPTURE(MissingOwnedShaders, Find, Action::FindMissing)->OBJECT_SIZES;
BENCHMARK_CAPTURE(MissingOwnedShaders, Remove, Action::RemoveMissing)->OBJECT_SIZES;
