// A long results list drawn by the host's tree view. The host work it takes
// is counted (host calls, as the substitute host counts them): twice the rows
// may take a little over twice the calls, not more, in the Generate List run
// that fills and draws the list and in a later redraw. The module's own work
// makes no host calls, so the same run is also timed in CPU time, which ten
// times the rows may multiply by a little over ten, not by a hundred.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>
#include <string>

#include "checks/check_runs.h"
#include "checks/scene_texts.h"
#include "command_words.h"
#include "framework/build_scale.h"
#include "framework/drawn_list.h"

namespace validator {
namespace {
namespace fs = std::filesystem;

// Twice the rows may cost this much more, plus a few calls that do not
// depend on the rows at all.
constexpr double allowedGrowth = 2.2;
constexpr uint64_t fixedCalls = 1000;

// Ten times the rows may take this many times the CPU time. Natively a linear
// module takes 10 to 18 times here (more than 10, as the larger list fits the
// caches less well, the more so beside a busy neighbour); one that walks its
// store from the start for every row takes about 80 times, its quadratic work
// beside the linear. 40 leaves each about twice its distance. An unoptimised
// build's overhead drowns both the caches' effect (a steady 10.5 times) and
// part of the quadratic work (about 57 times): 25 lies between there.
constexpr double allowedCpuGrowth = optimisedBuild ? 40 : 25;
constexpr int64_t cpuGrowthFactor = 10;
// The smaller timed list: a few milliseconds natively, thousands of times the
// clock's resolution, and small enough that ten times it still fits the caches
// about as well. Not cut in an unoptimised build: the module's work slows
// there as much as the host's, and fewer rows would hide a quadratic part
// behind the linear one. Quadratic work at ten times these rows takes about a
// second natively, so the timed lists come before the larger counted ones.
constexpr int64_t timedRows = 2000;
// Runs of the smaller timed list, the best of which counts: another process
// can only make a run slower (it shares the caches), never faster.
constexpr int timedRepetitions = 3;

// Tags first: their rows fill two columns.
constexpr PluginType listedKinds[] = {PluginType::Tag, PluginType::Shader, PluginType::Object, PluginType::PostEffect};

// The smaller of the two lists compared.
int64_t rowsAtLevel(int level) { return (level >= 8 ? 250000 : 50000) / bulkDivisor; }
// The host's drawing of a long list is not cheap: the other kinds from level 6.
uint64_t casesAtLevel(int level) { return level >= 6 ? std::size(listedKinds) : 1; }

struct ListingCount {
    uint64_t run = 0;   // host calls of the Generate List run (it draws the list once)
    uint64_t draw = 0;  // host calls of drawing the list again
    double cpu = 0;     // seconds of CPU time of the run and the drawing together
    std::string problem;
};

// CPU time of this process: the machine's other work does not count. (On
// Windows the C runtime's clock is wall time, a looser measure.)
double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

// Whether the drawn list shows exactly the instances, in order.
std::string compareRows(const substitute::Drawing& drawing, PluginType kind, int64_t rows) {
    const size_t drawn = drawing.rowHeights.size();
    if (int64_t(drawn) != rows) {
        return "the list drew " + std::to_string(drawn) + " rows for " + std::to_string(rows) + " instances";
    }
    for (int64_t i = 0; i < rows; ++i) {
        const std::string expected = flatRowName(kind, i);
        const std::string shown = firstColumnText(drawing, size_t(i));
        if (shown != expected) {
            return "row " + std::to_string(i) + " of the list shows \"" + shown + "\", expected \"" + expected + "\"";
        }
    }
    return {};
}

ListingCount countListing(const fs::path& module, PluginType kind, int64_t rows) {
    ListingCount count;
    Harness harness;
    std::string problem = harness.start(module, flatScene(kind, rows));
    if (problem.empty()) {
        problem = harness.run(std::string("open; type ") + driver::wordFor(kind) + "; action list; id " +
                              std::to_string(scenePluginId));
    }
    const uint64_t beforeRun = harness.host().reached();
    const double cpuBefore = cpuSeconds();
    if (problem.empty()) problem = harness.run("process");
    count.run = harness.host().reached() - beforeRun;
    HostGui* treeView = resultsTreeView(harness);
    if (problem.empty() && treeView == nullptr) problem = "the window shows no results list";
    if (problem.empty()) {
        const uint64_t beforeDraw = harness.host().reached();
        const substitute::Drawing& drawing = substitute::drawTreeView(*treeView);
        count.draw = harness.host().reached() - beforeDraw;
        count.cpu = cpuSeconds() - cpuBefore;
        problem = compareRows(drawing, kind, rows);
    }
    const std::string left = harness.quit();
    if (problem.empty()) problem = left;
    if (!problem.empty()) count.problem = std::to_string(rows) + " " + driver::wordFor(kind) + " rows: " + problem;
    return count;
}

// "" when large took at most allowedGrowth times the calls of small (twice the rows).
std::string compareGrowth(const char* what, const char* kind, int64_t rows, uint64_t small, uint64_t large) {
    if (double(large) <= allowedGrowth * double(small) + double(fixedCalls)) return {};
    return std::string(what) + " of " + std::to_string(2 * rows) + " " + kind + " rows made " + std::to_string(large) +
           " host calls, of " + std::to_string(rows) + " rows " + std::to_string(small) +
           ": more than 2.2 times as many for twice the rows";
}

// The least CPU time of up to runs listings of rows, stopping at the first
// that took no more than enough, or more than beyond.
ListingCount leastCpu(const fs::path& module, PluginType kind, int64_t rows, int runs, double enough,
                      double beyond = std::numeric_limits<double>::infinity()) {
    ListingCount best;
    best.cpu = std::numeric_limits<double>::infinity();
    for (int i = 0; i < runs; ++i) {
        const ListingCount count = countListing(module, kind, rows);
        if (!count.problem.empty()) return count;
        best.cpu = std::min(best.cpu, count.cpu);
        if (best.cpu <= enough || best.cpu > beyond) break;
    }
    return best;
}

// "" when ten times the rows took at most allowedCpuGrowth times the CPU time.
// The measured times are kept apart at the end, as a replay measures anew.
std::string compareCpuTime(PluginType kind, const fs::path& module) {
    const ListingCount small = leastCpu(module, kind, timedRows, timedRepetitions, 0);
    if (!small.problem.empty()) return small.problem;
    // A second run only to confirm an apparent failure that a busy neighbour
    // could explain: none makes a linear module take twice the allowance.
    const double allowed = allowedCpuGrowth * small.cpu;
    const ListingCount large = leastCpu(module, kind, cpuGrowthFactor * timedRows, 2, allowed, 2 * allowed);
    if (!large.problem.empty()) return large.problem;
    if (large.cpu <= allowed) return {};
    char measured[96];
    std::snprintf(measured, sizeof measured, "(measured: %.0f times, %.3f s against %.4f s)",
                  large.cpu / std::max(small.cpu, 1e-9), large.cpu, small.cpu);
    return "filling and drawing " + std::to_string(cpuGrowthFactor * timedRows) + " " + driver::wordFor(kind) +
           " rows took more than " + std::to_string(int(allowedCpuGrowth)) + " times the CPU time of " +
           std::to_string(timedRows) + " rows " + measured;
}

std::string runListingCase(const fs::path& module, int level, uint64_t number) {
    if (number >= std::size(listedKinds)) return "there is no listing case " + std::to_string(number);
    const PluginType kind = listedKinds[number];
    if (std::string problem = compareCpuTime(kind, module); !problem.empty()) return problem;
    const int64_t rows = rowsAtLevel(level);
    const ListingCount small = countListing(module, kind, rows);
    if (!small.problem.empty()) return small.problem;
    const ListingCount large = countListing(module, kind, 2 * rows);
    if (!large.problem.empty()) return large.problem;
    std::string problem = compareGrowth("the Generate List run", driver::wordFor(kind), rows, small.run, large.run);
    if (problem.empty())
        problem = compareGrowth("drawing the list", driver::wordFor(kind), rows, small.draw, large.draw);
    return problem;
}
}  // namespace

CheckResult checkListing(const CheckSettings& settings, const CaseStarted& started) {
    return runCases(settings, 0, casesAtLevel(settings.level), started,
                    [&](uint64_t number) { return runListingCase(settings.module, settings.level, number); });
}

}  // namespace validator
