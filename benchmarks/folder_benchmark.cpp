// Find Missing Plugins in Folder over 1,000 scene files of 10^3 objects each,
// beside loading and freeing the same files through the host, which no
// folder run can do without. The goals: the run costs at most 1.2 times the
// loading and freeing (the search of a file is linear in it, and cheaper than
// reading it), and at its peak holds at most the memory of the largest file
// plus 50 MB (one document at a time, freed before the next, and the rows).
// FolderRunAgainstLoading reports both as counters: ratio (at most 1.2) and
// peak_over_largest_MB (at most 50).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "bound_host.h"
#include "dialog_progress.h"
#include "files/scene_folders.h"
#include "scene_file/scene_file.h"
#include "scene_folder.h"
#include "search.h"

namespace {
namespace fs = std::filesystem;

constexpr int32_t fileCount = 1000;
constexpr int64_t objectCount = 1000;

// A scene of objectCount objects in a 4-ary tree, each with a tag, twenty
// materials and a render settings with five video posts; about 1 % of each
// are instances of missing plug-ins, which differ from variant to variant.
std::string sceneText(int32_t variant) {
    substitute::SubstituteHost host;
    substitute::Scene& scene = host.scene;
    HostDocument* document = scene.newDocument();
    std::vector<HostElement*> made;
    for (int64_t i = 0; i < objectCount; ++i) {
        HostElement* parent = i == 0 ? nullptr : made[size_t((i - 1) / 4)];
        const int32_t type = i % 97 == 50 ? 2000000 + variant : 5159;
        made.push_back(scene.addObject(*document, parent, "Object " + std::to_string(i), type));
        scene.addTag(*made.back(), i % 100 == 25 ? "Old Tag" : "Phong", i % 100 == 25 ? 2100000 + variant % 3 : 5612);
    }
    for (int32_t m = 0; m < 20; ++m) {
        HostElement* material = scene.addMaterial(*document, "Material " + std::to_string(m), 5703);
        scene.setChannelShader(*material, 0, "Noise", m % 7 == 3 ? 2200000 : 1011116);
    }
    HostElement* settings = scene.addRenderSettings(*document, "Final", true);
    for (int32_t v = 0; v < 5; ++v) scene.addVideoPost(*settings, "Effect", v == 2 ? 2300000 + variant : 300001);
    return substitute::saveScene(scene, *document);
}

// The project: fileCount files in ten folders, written once per run of the
// program; the largest of them.
struct Project {
    kit::TemporaryFolder folder{"benchmark-project"};
    fs::path largest;

    Project() {
        uintmax_t largestSize = 0;
        std::vector<std::string> variants;
        for (int32_t v = 0; v < 10; ++v) variants.push_back(sceneText(v));
        for (int32_t i = 0; i < fileCount; ++i) {
            const std::string relative =
                "shots/sq" + std::to_string(i % 10) + "/sh" + std::to_string(1000 + i) + ".json";
            const fs::path file = folder.write(relative, variants[size_t(i % 10)]);
            if (fs::file_size(file) > largestSize) {
                largestSize = fs::file_size(file);
                largest = file;
            }
        }
    }
};

const Project& project() {
    static const Project made;
    return made;
}

// ---- Measurements ------------------------------------------------------------------------

// The process's resident memory now and at its peak since the last reset, in
// bytes (Linux; 0 elsewhere).
int64_t statusField(const char* field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0) return int64_t(std::stoll(line.substr(std::string_view(field).size()))) * 1024;
    }
    return 0;
}

// Gives freed memory back and starts a new peak, so that what follows is
// measured from what is resident now.
int64_t startMeasuring() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    std::ofstream("/proc/self/clear_refs") << "5";
    return statusField("VmRSS:");
}

int64_t peakSince(int64_t resident) { return statusField("VmHWM:") - resident; }

// ---- The two runs -----------------------------------------------------------------------

struct HostFiles {
    std::vector<HostPath*> paths;
    explicit HostFiles(substitute::SubstituteHost& host) {
        for (const substitute::ListedFile& file : substitute::listSceneFiles(project().folder.path())) {
            paths.push_back(host.tables()->t_C4DOS_Fn->create());
            paths.back()->path = file.path;
        }
    }
};

void loadAndFree(const HostTables& tables, const std::vector<HostPath*>& paths) {
    for (HostPath* path : paths) {
        int32_t result = 0;
        HostDocument* document = tables.t_C4DOS_Ge->loadHiddenDocument(path, &result);
        benchmark::DoNotOptimize(document);
        if (document != nullptr) tables.t_C4DOS_Ge->freeHiddenDocument(document);
    }
}

// The folder run as Process makes it, the status bar included.
void folderRun(const host::Path& folder, ResultStore& store) {
    const FolderOutcome outcome = findMissingInFolder(folder, store, statusBarProgress);
    benchmark::DoNotOptimize(outcome);
}

// The process's CPU time in seconds: other programs on the machine change it
// less than they change the time on the wall.
double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The host's own part of a run, and the module's part of one file.
void LoadAndFreeThroughTheHost(benchmark::State& state) {
    project();
    BoundHost bound;
    const HostFiles files(bound.host);
    for (auto _ : state) loadAndFree(*bound.host.tables(), files.paths);
    state.counters["files"] = double(files.paths.size());
    for (HostPath* path : files.paths) bound.host.tables()->t_C4DOS_Fn->free(path);
}

void FolderRun(benchmark::State& state) {
    project();
    BoundHost bound;
    ResultStore store;
    {
        const host::Path folder = host::Path::fromString(host::String(project().folder.path().string()));
        for (auto _ : state) folderRun(folder, store);
    }
    state.counters["rows"] = double(store.records.size());
    clearResults(store);
}

void ListingTheFolder(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(substitute::listSceneFiles(project().folder.path()));
}

void OneFileLoadAndFree(benchmark::State& state) {
    project();
    BoundHost bound;
    HostPath* path = bound.host.tables()->t_C4DOS_Fn->create();
    path->path = project().largest;
    for (auto _ : state) loadAndFree(*bound.host.tables(), {path});
    bound.host.tables()->t_C4DOS_Fn->free(path);
}

void OneFileSearch(benchmark::State& state) {
    project();
    BoundHost bound;
    HostPath* path = bound.host.tables()->t_C4DOS_Fn->create();
    path->path = project().largest;
    int32_t result = 0;
    HostDocument* document = bound.host.tables()->t_C4DOS_Ge->loadHiddenDocument(path, &result);
    ResultStore store;
    SearchRequest request;
    request.action = Action::FindMissingInFolder;
    for (auto _ : state) {
        MissingPlugins missing;
        findMissingPlugins(document, request, missing, store);
    }
    clearResults(store);
    bound.host.tables()->t_C4DOS_Ge->freeHiddenDocument(document);
    bound.host.tables()->t_C4DOS_Fn->free(path);
}

// Both, one after the other in each iteration, in CPU time: the median of
// their ratios (ratio) and the ratio of their best times (best_ratio); then the
// peak memory of a run beside that of loading the largest file alone.
void FolderRunAgainstLoading(benchmark::State& state) {
    project();
    BoundHost bound;
    const HostFiles files(bound.host);
    ResultStore store;
    const host::Path folder = host::Path::fromString(host::String(project().folder.path().string()));
    std::vector<double> loads, runs, ratios;
    for (auto _ : state) {
        const double start = cpuSeconds();
        loadAndFree(*bound.host.tables(), files.paths);
        const double middle = cpuSeconds();
        folderRun(folder, store);
        const double end = cpuSeconds();
        loads.push_back(middle - start);
        runs.push_back(end - middle);
        ratios.push_back(runs.back() / loads.back());
    }
    HostPath* largest = bound.host.tables()->t_C4DOS_Fn->create();
    largest->path = project().largest;
    int64_t resident = startMeasuring();
    loadAndFree(*bound.host.tables(), {largest});
    const int64_t largestPeak = peakSince(resident);
    clearResults(store);
    resident = startMeasuring();
    folderRun(folder, store);
    const int64_t runPeak = peakSince(resident);

    state.counters["load_free_s"] = median(loads);
    state.counters["run_s"] = median(runs);
    state.counters["ratio"] = median(ratios);
    state.counters["best_ratio"] =
        *std::min_element(runs.begin(), runs.end()) / *std::min_element(loads.begin(), loads.end());
    state.counters["largest_file_MB"] = double(largestPeak) / 1e6;
    state.counters["run_peak_MB"] = double(runPeak) / 1e6;
    state.counters["peak_over_largest_MB"] = double(runPeak - largestPeak) / 1e6;
    clearResults(store);
    bound.host.tables()->t_C4DOS_Fn->free(largest);
    for (HostPath* path : files.paths) bound.host.tables()->t_C4DOS_Fn->free(path);
}

}  // namespace

BENCHMARK(LoadAndFreeThroughTheHost)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(FolderRun)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ListingTheFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(OneFileLoadAndFree)->Unit(benchmark::kMicrosecond);
BENCHMARK(OneFileSearch)->Unit(benchmark::kMicrosecond);
BENCHMARK(FolderRunAgainstLoading)->Unit(benchmark::kMillisecond)->Iterations(25);
