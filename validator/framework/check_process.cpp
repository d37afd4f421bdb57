#include "framework/check_process.h"

#include <optional>

#include "checks/checks.h"
#include "core/fault.h"
#include "framework/child_process.h"
#include "framework/validate_report.h"
#include "scene_folder.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace validator {

std::vector<std::string> replayCommand(const std::string& program, const CheckSettings& settings, const Check& check,
                                       uint64_t seed) {
    return {program,  "validate", "--module", settings.module.string(), "--level", std::to_string(settings.level),
            "--only", check.name, "--seed",   std::to_string(seed)};
}

namespace {
// The last lines a dead child printed that are not its events: a crash's own words.
std::string lastWords(const std::string& output) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line[0] != '{') lines.push_back(line);
        start = end + 1;
    }
    std::string words;
    for (size_t i = lines.size() > 4 ? lines.size() - 4 : 0; i < lines.size(); ++i) words += "\n  " + lines[i];
    return words;
}

}  // namespace

CheckResult runInChild(const std::string& program, const CheckSettings& settings, const Check& check) {
    std::vector<std::string> command = {program,    "validate",
                                        "--child",  check.name,
                                        "--module", settings.module.string(),
                                        "--level",  std::to_string(settings.level),
                                        "--seed",   std::to_string(settings.seed)};
    if (settings.oneCase) command.push_back("--case");
    // The folders of scene files the check writes go with its run, even when
    // a module's fault ends its process before it can remove them.
    const kit::TemporaryFolder folders("check");
    ChildRun run;
    {
        const kit::TemporaryFolderHome home(folders.path());
        run = runChild(command);
    }
    if (!run.started) return {Status::Failed, "cannot start " + commandLine(command), std::nullopt};
    std::optional<uint64_t> lastCase;
    std::optional<CheckResult> result;
    std::string fault;
    size_t start = 0;
    while (start < run.output.size()) {
        size_t end = run.output.find('\n', start);
        if (end == std::string::npos) end = run.output.size();
        Json event = Json::parse(run.output.begin() + std::ptrdiff_t(start), run.output.begin() + std::ptrdiff_t(end),
                                 nullptr, false);
        start = end + 1;
        if (!event.is_object()) continue;
        const std::string kind = event.value("event", "");
        if (kind == "case") lastCase = event.value("seed", uint64_t(0));
        if (kind == "fault") {
            fault = "module fault in " + event.value("operation", "") + ": " + event.value("text", "");
        }
        if (kind == "result") {
            CheckResult told;
            const std::string status = event.value("status", "");
            told.status = status == "passed" ? Status::Passed : status == "skipped" ? Status::Skipped : Status::Failed;
            told.reason = event.value("reason", "");
            if (event.contains("seed")) told.caseSeed = event.value("seed", uint64_t(0));
            if (event.contains("seeds") && event["seeds"].size() == 2) {
                told.firstSeed = event["seeds"][0].get<uint64_t>();
                told.caseCount = event["seeds"][1].get<uint64_t>() - told.firstSeed + 1;
            }
            result = told;
        }
    }
    if (result && run.exitStatus == 0) return *result;
    if (!fault.empty()) return {Status::Failed, fault, lastCase};
    std::string how = run.signal != 0 ? "ended by signal " + std::to_string(run.signal)
                                      : "ended with exit status " + std::to_string(run.exitStatus);
    return {Status::Failed, "the check's process " + how + lastWords(run.output), lastCase};
}

namespace {
struct Running {
    std::ostream* output = nullptr;
    bool json = false;
    const Check* check = nullptr;
    std::optional<uint64_t> caseSeed;
    std::string program;
    const CheckSettings* settings = nullptr;
};
Running running;

void reportChildFault(std::string_view operation, std::string_view text) {
    *running.output << jsonLine({{"event", "fault"}, {"operation", operation}, {"text", text}}) << std::flush;
}

// A check's process that hangs (a module in an endless loop) is ended by the
// system after this long and fails as ended by a signal. Generous: the
// sanitizer build runs the largest levels many times slower.
constexpr unsigned hangLimitSeconds = 1800;

}  // namespace

void reportFaultHere(std::string_view operation, std::string_view text) {
    std::string replay;
    if (running.check && running.caseSeed) {
        replay = commandLine(replayCommand(running.program, *running.settings, *running.check, *running.caseSeed));
    }
    if (running.json) {
        *running.output << jsonLine({{"event", "fault"},
                                     {"check", running.check ? running.check->name : ""},
                                     {"operation", operation},
                                     {"text", text},
                                     {"replay", replay}});
    } else {
        *running.output << "fault: " << operation << ": " << text << '\n';
        if (!replay.empty()) *running.output << "  replay: " << replay << '\n';
    }
    *running.output << std::flush;
}

CheckResult runHere(const Check& check, const CheckSettings& settings, bool childEvents) {
    running.check = &check;
    running.caseSeed.reset();
    return check.run(settings, [childEvents](uint64_t seed) {
        running.caseSeed = seed;
        if (childEvents) *running.output << jsonLine({{"event", "case"}, {"seed", seed}}) << std::flush;
    });
}

int runChildMode(const ValidateOptions& options, std::ostream& output) {
#ifndef _WIN32
    alarm(hangLimitSeconds);
#endif
    const Check& check = *findCheck(*options.child);
    running.output = &output;
    CheckResult result;
    {
        substitute::FaultReporting reporting(reportChildFault);
        result = runHere(check, options.settings, true);
    }
    Json event = {{"event", "result"}, {"status", statusWord(result.status)}, {"reason", result.reason}};
    if (result.caseSeed) event["seed"] = *result.caseSeed;
    if (result.caseCount > 0) event["seeds"] = {result.firstSeed, result.firstSeed + result.caseCount - 1};
    output << jsonLine(event) << std::flush;
    return 0;
}

void startRunningHere(std::ostream& output, bool json, const std::string& program, const CheckSettings& settings) {
    running = {&output, json, nullptr, std::nullopt, program, &settings};
}

}  // namespace validator
