#include "benchmark_project.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <string_view>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "core/substitute_host.h"
#include "scene_file/scene_file.h"

namespace bench {
namespace {
constexpr int64_t objectCount = 1000;

// A field of /proc/self/status in bytes (Linux; 0 elsewhere).
int64_t statusField(const char* field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0) return int64_t(std::stoll(line.substr(std::string_view(field).size()))) * 1024;
    }
    return 0;
}
}  // namespace

std::string sceneText(int32_t variant, Missing missing) {
    const bool some = missing != Missing::None;
    substitute::SubstituteHost host;
    substitute::Scene& scene = host.scene;
    HostDocument* document = scene.newDocument();
    std::vector<HostElement*> made;
    for (int64_t i = 0; i < objectCount; ++i) {
        HostElement* parent = i == 0 ? nullptr : made[size_t((i - 1) / 4)];
        const int32_t type = some && i % 97 == 50 ? 2000000 + variant : 5159;
        made.push_back(scene.addObject(*document, parent, "Object " + std::to_string(i), type));
        const bool oldTag = some && i % 100 == 25;
        scene.addTag(*made.back(), oldTag ? "Old Tag" : "Phong", oldTag ? 2100000 + variant % 3 : 5612);
    }
    for (int32_t m = 0; m < 20; ++m) {
        const int32_t type = missing == Missing::EveryKind && m % 10 == 4 ? 2400000 + variant : 5703;
        HostElement* material = scene.addMaterial(*document, "Material " + std::to_string(m), type);
        scene.setChannelShader(*material, 0, "Noise", some && m % 7 == 3 ? 2200000 : 1011116);
    }
    HostElement* settings = scene.addRenderSettings(*document, "Final", true);
    for (int32_t v = 0; v < 5; ++v)
        scene.addVideoPost(*settings, "Effect", some && v == 2 ? 2300000 + variant : 300001);
    return substitute::saveScene(scene, *document);
}

Project::Project(std::string_view label, const std::function<const std::string&(int32_t)>& textOf) : folder(label) {
    uintmax_t largestSize = 0;
    for (int32_t i = 0; i < projectFileCount; ++i) {
        const std::string relative = "shots/sq" + std::to_string(i % 10) + "/sh" + std::to_string(1000 + i) + ".json";
        const std::filesystem::path file = folder.write(relative, textOf(i));
        if (std::filesystem::file_size(file) > largestSize) {
            largestSize = std::filesystem::file_size(file);
            largest = file;
        }
    }
}

double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void PairedTimes::add(double baseline, double run) {
    baselines.push_back(baseline);
    runs.push_back(run);
    ratios.push_back(run / baseline);
}

int64_t startMeasuring() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    std::ofstream("/proc/self/clear_refs") << "5";
    return statusField("VmRSS:");
}

int64_t peakSince(int64_t resident) { return statusField("VmHWM:") - resident; }

void reportAgainstBaseline(benchmark::State& state, const PairedTimes& times, const char* baselineName,
                           int64_t largestFilePeak, int64_t runPeak) {
    if (times.runs.empty()) return;
    state.counters[baselineName] = median(times.baselines);
    state.counters["run_s"] = median(times.runs);
    state.counters["ratio"] = median(times.ratios);
    state.counters["best_ratio"] = *std::min_element(times.runs.begin(), times.runs.end()) /
                                   *std::min_element(times.baselines.begin(), times.baselines.end());
    state.counters["largest_file_MB"] = double(largestFilePeak) / 1e6;
    state.counters["run_peak_MB"] = double(runPeak) / 1e6;
    state.counters["peak_over_largest_MB"] = double(runPeak - largestFilePeak) / 1e6;
}

}  // namespace bench
