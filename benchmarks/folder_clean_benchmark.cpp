// Remove Missing Plugins in Folder over 1,000 scene files of 10^3 objects
// each, half of them holding missing plug-ins of every kind (objects that keep
// their children in a Null, tags, shaders, materials, video posts), beside the
// host's file work the clean cannot do without: reading every file, and
// writing and reading back the copy of each file that has missing plug-ins
// (Ge.loadHiddenDocument, Fi.makeFolders, Ge.saveDocument,
// Ge.freeHiddenDocument). The goals: the clean costs at most 1.5 times that
// work, and at its peak holds at most the memory of the largest file plus
// 50 MB (one document at a time, freed before the next, and the rows).
// FolderCleanAgainstHostFileWork reports both as counters: ratio (at most
// 1.5) and peak_over_largest_MB (at most 50).
#include <benchmark/benchmark.h>

#include <string>

#include "benchmark_project.h"
#include "bound_host.h"
#include "dialog_progress.h"
#include "files/scene_folders.h"
#include "search.h"

namespace {
namespace fs = std::filesystem;

// File i holds missing plug-ins of every kind when i is even, none when odd.
bool holdsMissing(int32_t i) { return i % 2 == 0; }

const bench::Project& project() {
    static const bench::Project made("benchmark-clean-project", [](int32_t i) -> const std::string& {
        static const std::vector<std::string> variants = [] {
            std::vector<std::string> texts;
            for (int32_t v = 0; v < 10; ++v) {
                texts.push_back(
                    bench::sceneText(v, holdsMissing(v) ? bench::Missing::EveryKind : bench::Missing::None));
            }
            return texts;
        }();
        return variants[size_t(i % 10)];
    });
    return made;
}

// Host paths of the project's files and, below a destination, of the copies
// of those with missing plug-ins and of their folders; freed with the object.
struct HostFiles {
    const HostTables& tables;
    std::vector<HostPath*> files;
    std::vector<HostPath*> copies;  // null for a file that gets no copy
    std::vector<HostPath*> copyFolders;

    HostFiles(const HostTables& hostTables, const fs::path& destination) : tables(hostTables) {
        for (const substitute::ListedFile& file : substitute::listSceneFiles(project().folder.path())) {
            files.push_back(pathOf(file.path));
            // "shots/sqN/shNNNN.json": the file's number is 1000 + i.
            const int32_t i = std::stoi(file.path.stem().string().substr(2)) - 1000;
            const bool copied = holdsMissing(i);
            copies.push_back(copied ? pathOf(destination / file.relative) : nullptr);
            copyFolders.push_back(copied ? pathOf((destination / file.relative).parent_path()) : nullptr);
        }
    }
    ~HostFiles() {
        for (const auto* paths : {&files, &copies, &copyFolders}) {
            for (HostPath* path : *paths) {
                if (path != nullptr) tables.t_C4DOS_Fn->free(path);
            }
        }
    }
    HostFiles(const HostFiles&) = delete;
    HostFiles& operator=(const HostFiles&) = delete;

private:
    HostPath* pathOf(const fs::path& path) const {
        HostPath* made = tables.t_C4DOS_Fn->create();
        made->path = path;
        return made;
    }
};

// Every file read; each file with missing plug-ins written as a new file
// below the destination and read back.
void readWriteReadBack(const HostFiles& paths) {
    const HostTables& tables = paths.tables;
    int32_t result = 0;
    for (size_t i = 0; i < paths.files.size(); ++i) {
        HostDocument* document = tables.t_C4DOS_Ge->loadHiddenDocument(paths.files[i], &result);
        benchmark::DoNotOptimize(document);
        if (document == nullptr) continue;
        if (paths.copies[i] != nullptr) {
            tables.t_C4DOS_Fi->makeFolders(paths.copyFolders[i]);
            benchmark::DoNotOptimize(tables.t_C4DOS_Ge->saveDocument(document, paths.copies[i]));
        }
        tables.t_C4DOS_Ge->freeHiddenDocument(document);
        if (paths.copies[i] == nullptr) continue;
        HostDocument* back = tables.t_C4DOS_Ge->loadHiddenDocument(paths.copies[i], &result);
        benchmark::DoNotOptimize(back);
        if (back != nullptr) tables.t_C4DOS_Ge->freeHiddenDocument(back);
    }
}

// The clean as Process makes it once the user chose both folders, the status
// bar included.
void folderClean(const fs::path& destination, ResultStore& store) {
    const host::Path folder = host::Path::fromString(host::String(project().folder.path().string()));
    const host::Path copies = host::Path::fromString(host::String(destination.string()));
    const FolderOutcome outcome = cleanFolder(folder, copies, SearchRequest{}, store, statusBarProgress);
    benchmark::DoNotOptimize(outcome);
}

size_t filesBelow(const fs::path& folder) {
    size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) count += entry.is_regular_file() ? 1 : 0;
    return count;
}

// Both, one after the other in each iteration into fresh destinations, in CPU
// time; then the peak memory of a clean beside that of loading the largest
// file alone; with the copies each wrote, and the rows.
void FolderCleanAgainstHostFileWork(benchmark::State& state) {
    project();
    BoundHost bound;
    const HostTables& tables = *bound.host.tables();
    const kit::TemporaryFolder destinations("benchmark-clean-copies");
    bench::PairedTimes times;
    ResultStore store;
    size_t copiesWritten = 0, copiesOfTheHost = 0;
    int32_t iteration = 0;
    for (auto _ : state) {
        const fs::path written = destinations.path() / ("host-" + std::to_string(iteration));
        const fs::path cleaned = destinations.path() / ("clean-" + std::to_string(iteration++));
        fs::create_directory(cleaned);
        const HostFiles paths(tables, written);
        const double start = bench::cpuSeconds();
        readWriteReadBack(paths);
        const double middle = bench::cpuSeconds();
        folderClean(cleaned, store);
        times.add(middle - start, bench::cpuSeconds() - middle);
        copiesOfTheHost = filesBelow(written);
        copiesWritten = filesBelow(cleaned);
        fs::remove_all(written);
        fs::remove_all(cleaned);
    }
    HostPath* largest = tables.t_C4DOS_Fn->create();
    largest->path = project().largest;
    int64_t resident = bench::startMeasuring();
    {
        int32_t result = 0;
        HostDocument* document = tables.t_C4DOS_Ge->loadHiddenDocument(largest, &result);
        if (document != nullptr) tables.t_C4DOS_Ge->freeHiddenDocument(document);
    }
    const int64_t largestPeak = bench::peakSince(resident);
    tables.t_C4DOS_Fn->free(largest);
    clearResults(store);
    const fs::path measured = destinations.path() / "measured";
    fs::create_directory(measured);
    resident = bench::startMeasuring();
    folderClean(measured, store);
    const int64_t cleanPeak = bench::peakSince(resident);

    state.counters["copies"] = double(copiesWritten);
    state.counters["host_copies"] = double(copiesOfTheHost);
    state.counters["rows"] = double(store.records.size());
    bench::reportAgainstBaseline(state, times, "host_work_s", largestPeak, cleanPeak);
    clearResults(store);
}

}  // namespace

BENCHMARK(FolderCleanAgainstHostFileWork)->Unit(benchmark::kMillisecond)->Iterations(25);
