#include "framework/check.h"

namespace validator {

CheckResult runCases(const CheckSettings& settings, uint64_t firstSeed, uint64_t count, const CaseStarted& started,
                     const RunCase& runCase) {
    const uint64_t first = settings.oneCase ? settings.seed : firstSeed;
    const uint64_t cases = settings.oneCase ? 1 : count;
    for (uint64_t i = 0; i < cases; ++i) {
        const uint64_t seed = first + i;
        if (started) started(seed);
        std::string problem = runCase(seed);
        if (!problem.empty()) return {Status::Failed, problem, seed, first, i + 1};
    }
    return {Status::Passed, {}, std::nullopt, first, cases};
}

}  // namespace validator
