// Find Missing Plugins in Folder over 1,000 scene files of 10^3 objects each,
// beside loading and freeing the same files through the host, which no
// folder run can do without. The goals: the run costs at most 1.2 times the
// loading and freeing (the search of a file is linear in it, and cheaper than
// reading it), and at its peak holds at most the memory of the largest file
// plus 50 MB (one document at a time, freed before the next, and the rows).
// FolderRunAgainstLoading reports both as counters: ratio (at most 1.2) and
// peak_over_largest_MB (at most 50).
#include <benchmark/benchmark.h>

#include <string>

#include "benchmark_project.h"
#include "bound_host.h"
#include "dialog_progress.h"
#include "files/scene_folders.h"
#include "search.h"

namespace {

// The project: every file with missing plug-ins of all kinds but materials,
// ten variants.
const bench::Project& project() {
    static const bench::Project made("benchmark-project", [](int32_t i) -> const std::string& {
        static const std::vector<std::string> variants = [] {
            std::vector<std::string> texts;
            for (int32_t v = 0; v < 10; ++v) texts.push_back(bench::sceneText(v, bench::Missing::AllButMaterials));
            return texts;
        }();
        return variants[size_t(i % 10)];
    });
    return made;
}

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
    bench::PairedTimes times;
    for (auto _ : state) {
        const double start = bench::cpuSeconds();
        loadAndFree(*bound.host.tables(), files.paths);
        const double middle = bench::cpuSeconds();
        folderRun(folder, store);
        times.add(middle - start, bench::cpuSeconds() - middle);
    }
    HostPath* largest = bound.host.tables()->t_C4DOS_Fn->create();
    largest->path = project().largest;
    int64_t resident = bench::startMeasuring();
    loadAndFree(*bound.host.tables(), {largest});
    const int64_t largestPeak = bench::peakSince(resident);
    clearResults(store);
    resident = bench::startMeasuring();
    folderRun(folder, store);
    const int64_t runPeak = bench::peakSince(resident);

    bench::reportAgainstBaseline(state, times, "load_free_s", largestPeak, runPeak);
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
