#include "framework/validate_report.h"

#include "checks/checks.h"

namespace validator {

std::string jsonLine(const Json& event) { return event.dump(-1, ' ', false, Json::error_handler_t::replace) + '\n'; }

const char* statusWord(Status status) {
    switch (status) {
        case Status::Passed: return "passed";
        case Status::Failed: return "failed";
        case Status::Skipped: return "skipped";
    }
    return "";
}

namespace {
// "(seed 7)" or "(seeds 1..15)": the cases run, for a replay of any of them.
std::string seedsRun(const CheckResult& result) {
    const uint64_t last = result.firstSeed + result.caseCount - 1;
    if (result.caseCount == 1) return "(seed " + std::to_string(last) + ")";
    return "(seeds " + std::to_string(result.firstSeed) + ".." + std::to_string(last) + ")";
}

}  // namespace

void reportCheck(std::ostream& output, bool json, const Check& check, CheckResult result, const std::string& replay) {
    // Reasons quote what sessions printed, line breaks at the end included.
    while (!result.reason.empty() && (result.reason.back() == '\n' || result.reason.back() == ' ')) {
        result.reason.pop_back();
    }
    if (json) {
        Json event = {{"event", "check"},
                      {"name", check.name},
                      {"level", check.level},
                      {"status", statusWord(result.status)},
                      {"reason", result.reason}};
        if (result.caseSeed) event["seed"] = *result.caseSeed;
        if (result.caseCount > 0) event["seeds"] = {result.firstSeed, result.firstSeed + result.caseCount - 1};
        if (!replay.empty()) event["replay"] = replay;
        output << jsonLine(event) << std::flush;
        return;
    }
    std::string line = std::string(statusWord(result.status)) + "  " + check.name;
    // A failure names its own case (a fault or crash knows no range); a pass the cases it ran.
    if (result.status == Status::Failed && result.caseSeed) {
        line += " (seed " + std::to_string(*result.caseSeed) + ")";
    } else if (result.caseCount > 0) {
        line += " " + seedsRun(result);
    }
    if (!result.reason.empty()) line += ": " + result.reason;
    output << line << '\n';
    if (!replay.empty()) output << "  replay: " << replay << '\n';
    output << std::flush;
}

int listChecks(std::ostream& output) {
    for (const Check& check : allChecks()) {
        output << "level " << check.level << "  " << check.name << ": " << check.summary << '\n';
    }
    return 0;
}
}  // namespace validator
