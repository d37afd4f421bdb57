// Scene files at 10^4 to 10^6 objects: load, save and free, each beside the
// bare parse of the same text (JSON events that build nothing) by the reader
// the loader uses (RapidJSON), by nlohmann's SAX parser it used before, and by
// simdjson's DOM parser, the fastest there is, where it is installed. And the
// operations that once grew with the square of their input, with their
// growth fitted (Complexity): each must come out O(N).
#include <benchmark/benchmark.h>

#include <map>

#include <rapidjson/reader.h>
#include <nlohmann/json.hpp>
#ifdef CLEARTRACE_HAS_SIMDJSON
#include <simdjson.h>
#endif

#include "core/substitute_host.h"
#include "reflectance_owners_scene.h"
#include "scene_file/scene_file.h"
#include "scene_paths.h"

namespace {

// The text of a tree of fan-out 8; every 100th object carries a tag.
std::string treeScene(int64_t objects) {
    substitute::SubstituteHost host;
    HostDocument* document = host.scene.newDocument();
    host.scene.addPlugin({1234, HOST_PLUGIN_KIND_TAG, "Legacy Tag"});
    std::vector<HostElement*> made;
    made.reserve(size_t(objects));
    for (int64_t i = 0; i < objects; ++i) {
        HostElement* parent = i == 0 ? nullptr : made[size_t((i - 1) / 8)];
        made.push_back(host.scene.addObject(*document, parent, "Object " + std::to_string(i), 5159));
        if (i % 100 == 0) host.scene.addTag(*made.back(), "Legacy", 1234);
    }
    return substitute::saveScene(host.scene, *document);
}

const std::string& sceneOf(int64_t objects) {
    static std::map<int64_t, std::string> made;
    auto found = made.find(objects);
    if (found == made.end()) found = made.emplace(objects, treeScene(objects)).first;
    return found->second;
}

void BareParseRapidJson(benchmark::State& state) {
    const std::string& text = sceneOf(state.range(0));
    rapidjson::BaseReaderHandler<> nothing;
    for (auto _ : state) {
        rapidjson::Reader reader;
        rapidjson::StringStream input(text.c_str());
        // The loader's flags: iterative, UTF-8 checked, numbers as text.
        benchmark::DoNotOptimize(reader.Parse<rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag |
                                              rapidjson::kParseNumbersAsStringsFlag>(input, nothing));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

#ifdef CLEARTRACE_HAS_SIMDJSON
void BareParseSimdjson(benchmark::State& state) {
    const simdjson::padded_string text(sceneOf(state.range(0)));
    simdjson::dom::parser parser;
    for (auto _ : state) benchmark::DoNotOptimize(parser.parse(text).error());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
#endif

void BareParseNlohmann(benchmark::State& state) {
    const std::string& text = sceneOf(state.range(0));
    struct Nothing : nlohmann::json_sax<nlohmann::json> {
        bool null() override { return true; }
        bool boolean(bool) override { return true; }
        bool number_integer(number_integer_t) override { return true; }
        bool number_unsigned(number_unsigned_t) override { return true; }
        bool number_float(number_float_t, const string_t&) override { return true; }
        bool string(string_t&) override { return true; }
        bool binary(binary_t&) override { return true; }
        bool start_object(std::size_t) override { return true; }
        bool key(string_t&) override { return true; }
        bool end_object() override { return true; }
        bool start_array(std::size_t) override { return true; }
        bool end_array() override { return true; }
        bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }
    } nothing;
    for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::sax_parse(text, &nothing));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

// Loads text once per iteration; closing the document is not timed.
void loadEachIteration(benchmark::State& state, const std::string& text) {
    substitute::SubstituteHost host;
    for (auto _ : state) {
        substitute::SceneLoad loaded = substitute::loadScene(host.scene, text);
        state.PauseTiming();
        host.scene.closeDocument(loaded.document);
        state.ResumeTiming();
    }
}

void Load(benchmark::State& state) {
    const std::string& text = sceneOf(state.range(0));
    loadEachIteration(state, text);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void Save(benchmark::State& state) {
    const std::string& text = sceneOf(state.range(0));
    substitute::SubstituteHost host;
    substitute::SceneLoad loaded = substitute::loadScene(host.scene, text);
    for (auto _ : state) benchmark::DoNotOptimize(substitute::saveScene(host.scene, *loaded.document));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void Free(benchmark::State& state) {
    const std::string& text = sceneOf(state.range(0));
    substitute::SubstituteHost host;
    for (auto _ : state) {
        state.PauseTiming();
        substitute::SceneLoad loaded = substitute::loadScene(host.scene, text);
        state.ResumeTiming();
        host.scene.closeDocument(loaded.document);
    }
}

#define SCENE_SIZES Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3)
BENCHMARK(BareParseRapidJson)->SCENE_SIZES;
BENCHMARK(BareParseNlohmann)->SCENE_SIZES;
#ifdef CLEARTRACE_HAS_SIMDJSON
BENCHMARK(BareParseSimdjson)->SCENE_SIZES;
#endif
BENCHMARK(Load)->SCENE_SIZES;
BENCHMARK(Save)->SCENE_SIZES;
BENCHMARK(Free)->SCENE_SIZES;

// ---- Once quadratic -----------------------------------------------------------------

struct Chain {
    substitute::SubstituteHost host;
    HostDocument* document = host.scene.newDocument();
    HostElement* deepest = nullptr;
    explicit Chain(int64_t depth) {
        for (int64_t i = 0; i < depth; ++i) deepest = host.scene.addObject(*document, deepest, "o", 5140);
    }
};

void PrintDeepHierarchy(benchmark::State& state) {
    Chain chain(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(substitute::describeScene(chain.host.scene, *chain.document));
    state.SetComplexityN(state.range(0));
}

void PathOfDeepest(benchmark::State& state) {
    Chain chain(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(driver::pathOf(*chain.deepest));
    state.SetComplexityN(state.range(0));
}

void ResolveDeepLinks(benchmark::State& state) {
    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
    HostDocument* document = host.scene.newDocument();
    HostElement* material = host.scene.addMaterial(*document, "Deep", 5703);
    std::vector<HostElement*> chain{host.scene.setChannelShader(*material, 0, "Layer", HOST_LAYER_SHADER_TYPE)};
    for (int64_t i = 0; i < state.range(0); ++i) {
        chain.push_back(host.scene.addShaderLayer(*chain.back(), "Layer", HOST_LAYER_SHADER_TYPE));
    }
    const auto& layers = *static_cast<const HostLayerShaderLibrary*>(t.t_C4DOS_Lr->find(HOST_LIBRARY_LAYER_SHADER));
    HostValue* value = t.t_C4DOS_Gv->create();
    for (auto _ : state) {
        for (size_t i = 0; i + 1 < chain.size(); ++i) {
            layers.getParameter(layers.firstLayer(chain[i]), HOST_LAYER_PARAMETER_LINK, value);
            benchmark::DoNotOptimize(t.t_C4DOS_Ln->resolve(t.t_C4DOS_Gv->link(value), document));
            benchmark::DoNotOptimize(t.t_C4DOS_Bl->document(chain[i + 1]));
        }
    }
    t.t_C4DOS_Gv->free(value);
    state.SetComplexityN(state.range(0));
}

void SaveWideLayerShader(benchmark::State& state) {
    substitute::SubstituteHost host;
    HostDocument* document = host.scene.newDocument();
    HostElement* material = host.scene.addMaterial(*document, "Wide", 5703);
    HostElement* shader = host.scene.setChannelShader(*material, 0, "Layers", HOST_LAYER_SHADER_TYPE);
    for (int64_t i = 0; i < state.range(0); ++i) host.scene.addShaderLayer(*shader, "s", 5);
    for (auto _ : state) benchmark::DoNotOptimize(substitute::saveScene(host.scene, *document));
    state.SetComplexityN(state.range(0));
}

void LoadReflectanceOwners(benchmark::State& state) {
    loadEachIteration(state, kit::reflectanceOwnersScene(state.range(0)));
    state.SetComplexityN(state.range(0));
}

#define GROWTH RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond)
BENCHMARK(PrintDeepHierarchy)->GROWTH;
BENCHMARK(PathOfDeepest)->GROWTH;
BENCHMARK(ResolveDeepLinks)->GROWTH;
BENCHMARK(SaveWideLayerShader)->GROWTH;
BENCHMARK(LoadReflectanceOwners)->GROWTH;

}  // namespace
