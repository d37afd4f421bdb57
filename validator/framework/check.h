// One named check of the validator. A check is a set of cases, each named by
// a seed: a random case builds its scene and session from the seed, a fixed
// case is numbered by it. A failure names its case, so one command replays it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace validator {

struct CheckSettings {
    std::filesystem::path module;
    int level = 5;         // 1..10: how many cases, how large the scenes
    uint64_t seed = 1;     // the first case's seed (random checks)
    bool oneCase = false;  // run only the case `seed` (a replay)
};

// Told as each case starts: a fault or a crash inside it ends the process,
// and the case last started is the one to replay.
using CaseStarted = std::function<void(uint64_t seed)>;

enum class Status { Passed, Failed, Skipped };

struct CheckResult {
    Status status = Status::Passed;
    std::string reason;                // failed or skipped: why
    std::optional<uint64_t> caseSeed;  // failed: the case that shows it
    // The seeds of the cases run (count 0: the check has no numbered cases).
    uint64_t firstSeed = 0;
    uint64_t caseCount = 0;
};

struct Check {
    const char* name;
    int level;  // the lowest level that runs it
    const char* summary;
    CheckResult (*run)(const CheckSettings& settings, const CaseStarted& started);
};

// One case: "" when it passed, else why it failed.
using RunCase = std::function<std::string(uint64_t seed)>;

// Runs count cases from firstSeed on (only settings.seed when settings.oneCase);
// the first failure ends the check.
CheckResult runCases(const CheckSettings& settings, uint64_t firstSeed, uint64_t count, const CaseStarted& started,
                     const RunCase& runCase);

}  // namespace validator
