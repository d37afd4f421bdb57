// What the folder benchmarks share: a project of scene files of 10^3 objects
// written to a temporary folder once per run of the program, and the
// measures they report (CPU time, peak resident memory).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "scene_folder.h"

namespace bench {

constexpr int32_t projectFileCount = 1000;

// Which missing plug-ins a scene holds: none; objects, tags, shaders and
// video posts; or those and materials too.
enum class Missing : uint8_t { None, AllButMaterials, EveryKind };

// A scene of 10^3 objects in a 4-ary tree, each with a tag, twenty materials
// and a render settings with five video posts; with missing plug-ins, about
// 1 % of each are instances of them, which differ from variant to variant
// (each missing object holds children that stay).
std::string sceneText(int32_t variant, Missing missing);

// projectFileCount files in ten folders ("shots/sq<i % 10>/sh<1000 + i>.json"),
// file i holding textOf(i); the largest of them.
struct Project {
    kit::TemporaryFolder folder;
    std::filesystem::path largest;

    Project(std::string_view label, const std::function<const std::string&(int32_t)>& textOf);
};

// The process's CPU time in seconds: other programs on the machine change it
// less than they change the time on the wall.
double cpuSeconds();
double median(std::vector<double> values);

// A run beside its baseline, one after the other in each iteration, in CPU
// seconds.
struct PairedTimes {
    std::vector<double> baselines, runs, ratios;
    void add(double baseline, double run);
};

// Gives freed memory back and starts a new peak, so that what follows is
// measured from what is resident now: the resident bytes now (Linux; 0
// elsewhere).
int64_t startMeasuring();
// The peak resident bytes since startMeasuring answered resident.
int64_t peakSince(int64_t resident);

// The counters of a run against its baseline: the medians of both
// (baselineName, run_s), the median of their ratios (ratio) and the ratio of
// their best times (best_ratio); the peak memory of loading the largest file
// alone and of a run, each from startMeasuring (largest_file_MB,
// run_peak_MB), and the one above the other (peak_over_largest_MB).
void reportAgainstBaseline(benchmark::State& state, const PairedTimes& times, const char* baselineName,
                           int64_t largestFilePeak, int64_t runPeak);

}  // namespace bench
