// The validator's tests are modules with a planted fault (planted_module.cpp):
// each must fail the check that looks for its fault, with a replay command
// that shows the same failure again, while the checks it does not touch pass.
// Our own module must pass.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "framework/child_process.h"

namespace {
using Json = nlohmann::json;

struct Validation {
    int exitStatus = -1;
    std::map<std::string, Json> checks;  // each check's event, by name
    std::string output;
};

Validation validation(const validator::ChildRun& run) {
    Validation parsed{run.exitStatus, {}, run.output};
    size_t start = 0;
    while (start < run.output.size()) {
        size_t end = run.output.find('\n', start);
        if (end == std::string::npos) end = run.output.size();
        Json event = Json::parse(run.output.substr(start, end - start), nullptr, false);
        start = end + 1;
        if (event.is_object() && event.value("event", "") == "check") parsed.checks[event.value("name", "")] = event;
    }
    return parsed;
}

Validation validate(const std::string& module, const std::string& level) {
    return validation(
        validator::runChild({CLEARTRACE_HOST_PROGRAM, "validate", "--module", module, "--level", level, "--json"}));
}

// A replay command is a line for the shell, as a user would paste it.
Validation replay(const std::string& command) {
    return validation(validator::runChild({"/bin/sh", "-c", command + " --json"}));
}

// A fault's text names the handle by its address, which differs from process to process.
std::string withoutAddresses(const std::string& reason) {
    return std::regex_replace(reason, std::regex("0x[0-9a-f]+"), "0x...");
}

std::string status(const Validation& run, const std::string& check) {
    auto found = run.checks.find(check);
    return found == run.checks.end() ? "not run" : found->second.value("status", "");
}

struct PlantedFault {
    std::string module;
    std::string check;                   // the check that must fail
    std::regex reason;                   // what its reason must say
    std::vector<std::string> untouched;  // checks that must still pass
    std::string level = "5";
};

// A replay measures anew and makes temporary folders of its own (named
// after its processes), so what a reason says it measured and those
// folders' names are left out.
std::string withoutMeasurements(const std::string& reason) {
    const std::string measured = std::regex_replace(withoutAddresses(reason), std::regex(" \\(measured: [^)]*\\)"), "");
    return std::regex_replace(measured, std::regex("cleartrace-[a-z-]+-[0-9]+-[0-9]+"), "cleartrace-...");
}

void expectCaught(const PlantedFault& planted) {
    Validation run = validate(planted.module, planted.level);
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    for (const std::string& check : planted.untouched) EXPECT_EQ(status(run, check), "passed") << run.output;
    ASSERT_EQ(status(run, planted.check), "failed") << run.output;
    const Json& failed = run.checks[planted.check];
    const std::string reason = failed.value("reason", "");
    EXPECT_TRUE(std::regex_search(reason, planted.reason)) << reason;
    ASSERT_TRUE(failed.contains("replay")) << failed.dump();

    Validation again = replay(failed.value("replay", ""));
    EXPECT_EQ(again.exitStatus, 1) << again.output;
    ASSERT_EQ(status(again, planted.check), "failed") << again.output;
    EXPECT_EQ(withoutMeasurements(again.checks[planted.check].value("reason", "")), withoutMeasurements(reason));
    EXPECT_EQ(again.checks[planted.check].value("seed", uint64_t(0)), failed.value("seed", uint64_t(0)));
}

// First, as it takes the longest: CTest starts the tests of this program in
// their order here, before the shorter tests of the others.
TEST(PlantedFault, AListWalkedFromItsStartForEveryRowTakesQuadraticCpuTime) {
    // Level 2: from level 3 on, hostile-scenes lists a hundred thousand rows, which
    // this module would take hours over.
    expectCaught({CLEARTRACE_PLANTED_QUADRATIC_LISTING,
                  "listing",
                  std::regex("20000 tag rows took more than [0-9]+ times the CPU time of 2000 rows "
                             "\\(measured: [0-9]+ times, [0-9.]+ s against [0-9.]+ s\\)"),
                  {"lifecycle", "stale-rows", "random-sessions", "allocation-sweep"},
                  "2"});
}

TEST(PlantedFault, AnInstanceFreedTwiceFaultsInARandomSession) {
    expectCaught({CLEARTRACE_PLANTED_DOUBLE_FREE,
                  "random-sessions",
                  std::regex("module fault in Bl\\.free: .* is not live"),
                  {"lifecycle"}});
}

TEST(PlantedFault, AStringLeakedWhenOutOfMemoryShowsOnlyInTheSweep) {
    expectCaught({CLEARTRACE_PLANTED_LEAKED_STRING,
                  "allocation-sweep",
                  std::regex("[1-9][0-9]* strings"),
                  {"lifecycle", "random-sessions"}});
}

TEST(PlantedFault, ARemovalWithoutItsUndoStepIsCaughtByTheUndoSweep) {
    expectCaught({CLEARTRACE_PLANTED_IGNORED_UNDO,
                  "allocation-sweep",
                  std::regex("refusing undo request [0-9]+ .*(undo|scene)"),
                  {"lifecycle", "random-sessions", "stale-rows"}});
}

TEST(PlantedFault, ATextWithARefusedPartIsCaughtByTheStringSweep) {
    expectCaught({CLEARTRACE_PLANTED_REFUSED_TEXT,
                  "allocation-sweep",
                  std::regex("refusing string creation [0-9]+ .*differ"),
                  {"lifecycle", "random-sessions", "stale-rows"}});
}

// Undo and redo give back exactly what such a module did, and every run
// with a refusal does what the run with memory did: only a result worked out
// apart from the module shows where the kept tags belong.
TEST(PlantedFault, KeptTagsPutFirstInTheirNullAreCaughtInARandomSession) {
    expectCaught({CLEARTRACE_PLANTED_REORDERED_TAGS,
                  "random-sessions",
                  std::regex("the objects after the removal are not what it must leave: .*expected the tags .*, found"),
                  {"lifecycle", "stale-rows", "allocation-sweep"}});
}

// Every copy the clean writes is the right file, verified and listed: only
// the destination's files from before show what it wrote over.
TEST(PlantedFault, ACopySavedOverAFileAlreadyThereIsCaughtInARandomSession) {
    expectCaught({CLEARTRACE_PLANTED_OVERWRITING_SAVE,
                  "random-sessions",
                  std::regex("the clean wrote over .*, which was in the destination before"),
                  {"lifecycle", "stale-rows", "allocation-sweep"}});
}

TEST(OwnModule, PassesEveryCheckOfALowLevel) {
    Validation run = validate(CLEARTRACE_MODULE_FILE, "2");
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_FALSE(run.checks.empty()) << run.output;
    for (const auto& [name, event] : run.checks) EXPECT_NE(event.value("status", ""), "failed") << event.dump();
}

}  // namespace
