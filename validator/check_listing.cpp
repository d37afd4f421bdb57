// A long results list drawn by the host's tree view. The host work it takes
// is counted (host calls, as the substitute host counts them), never timed:
// twice the rows may take a little over twice the calls, not more, in the
// Generate List run that fills and draws the list and in a later redraw.
#include <string>

#include "build_scale.h"
#include "check_runs.h"
#include "drawn_list.h"
#include "scene_texts.h"

namespace validator {
namespace {
namespace fs = std::filesystem;

// Twice the rows may cost this much more, plus a few calls that do not
// depend on the rows at all.
constexpr double allowedGrowth = 2.2;
constexpr uint64_t fixedCalls = 1000;

// Tags first: their rows fill two columns.
constexpr ListedKind listedKinds[] = {ListedKind::Tag, ListedKind::Shader, ListedKind::Object, ListedKind::PostEffect};

// The smaller of the two lists compared.
int64_t rowsAtLevel(int level) { return (level >= 8 ? 250000 : 50000) / bulkDivisor; }
// The host's drawing of a long list is not cheap: the other kinds from level 6.
uint64_t casesAtLevel(int level) { return level >= 6 ? std::size(listedKinds) : 1; }

struct ListingCount {
    uint64_t run = 0;   // host calls of the Generate List run (it draws the list once)
    uint64_t draw = 0;  // host calls of drawing the list again
    std::string problem;
};

// Whether the drawn list shows exactly the instances, in order.
std::string compareRows(const substitute::Drawing& drawing, ListedKind kind, int64_t rows) {
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

ListingCount countListing(const fs::path& module, ListedKind kind, int64_t rows) {
    ListingCount count;
    Harness harness;
    std::string problem = harness.start(module, flatScene(kind, rows));
    if (problem.empty()) {
        problem = harness.run(std::string("open; type ") + kindWord(kind) + "; action list; id " +
                              std::to_string(scenePluginId));
    }
    const uint64_t beforeRun = harness.host().reached();
    if (problem.empty()) problem = harness.run("process");
    count.run = harness.host().reached() - beforeRun;
    HostGui* treeView = resultsTreeView(harness);
    if (problem.empty() && treeView == nullptr) problem = "the window shows no results list";
    if (problem.empty()) {
        const uint64_t beforeDraw = harness.host().reached();
        const substitute::Drawing& drawing = substitute::drawTreeView(*treeView);
        count.draw = harness.host().reached() - beforeDraw;
        problem = compareRows(drawing, kind, rows);
    }
    const std::string left = harness.quit();
    if (problem.empty()) problem = left;
    if (!problem.empty()) count.problem = std::to_string(rows) + " " + kindWord(kind) + " rows: " + problem;
    return count;
}

// "" when large took at most allowedGrowth times the calls of small (twice the rows).
std::string compareGrowth(const char* what, const char* kind, int64_t rows, uint64_t small, uint64_t large) {
    if (double(large) <= allowedGrowth * double(small) + double(fixedCalls)) return {};
    return std::string(what) + " of " + std::to_string(2 * rows) + " " + kind + " rows made " + std::to_string(large) +
           " host calls, of " + std::to_string(rows) + " rows " + std::to_string(small) +
           ": more than 2.2 times as many for twice the rows";
}

std::string runListingCase(const fs::path& module, int level, uint64_t number) {
    if (number >= std::size(listedKinds)) return "there is no listing case " + std::to_string(number);
    const ListedKind kind = listedKinds[number];
    const int64_t rows = rowsAtLevel(level);
    const ListingCount small = countListing(module, kind, rows);
    if (!small.problem.empty()) return small.problem;
    const ListingCount large = countListing(module, kind, 2 * rows);
    if (!large.problem.empty()) return large.problem;
    std::string problem = compareGrowth("the Generate List run", kindWord(kind), rows, small.run, large.run);
    if (problem.empty()) problem = compareGrowth("drawing the list", kindWord(kind), rows, small.draw, large.draw);
    return problem;
}
}  // namespace

CheckResult checkListing(const CheckSettings& settings, const CaseStarted& started) {
    return runCases(settings, 0, casesAtLevel(settings.level), started,
                    [&](uint64_t number) { return runListingCase(settings.module, settings.level, number); });
}

}  // namespace validator
