#include "validate.h"

#include <optional>

#include <nlohmann/json.hpp>

#include "checks.h"
#include "child_process.h"
#include "core/fault.h"
#include "number_word.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace validator {
namespace {
using Json = nlohmann::ordered_json;

struct Options {
    CheckSettings settings{CLEARTRACE_MODULE_FILE};
    std::optional<std::string> only;
    bool json = false;
    bool inProcess = false;
    bool list = false;
    bool help = false;
    // The validator starting itself for one check: JSON events, --seed is the first case's.
    std::optional<std::string> child;
};

std::string parseOptions(const std::vector<std::string>& args, Options& options) {
    bool seedGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--in-process") {
            options.inProcess = true;
        } else if (arg == "--list") {
            options.list = true;
        } else if (arg == "--case") {
            options.settings.oneCase = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "--module" || arg == "--level" || arg == "--seed" || arg == "--only" || arg == "--child") {
            if (i + 1 == args.size()) return arg + " needs a value";
            const std::string& given = args[++i];
            if (arg == "--module") options.settings.module = given;
            if (arg == "--only") options.only = given;
            if (arg == "--child") options.child = given;
            if (arg == "--level" && (!driver::parseNumber(given, options.settings.level) ||
                                     options.settings.level < 1 || options.settings.level > 10)) {
                return "--level takes a whole number from 1 to 10, not \"" + given + "\"";
            }
            if (arg == "--seed" && !driver::parseNumber(given, options.settings.seed)) {
                return "--seed takes a whole number, not \"" + given + "\"";
            }
            seedGiven = seedGiven || arg == "--seed";
        } else {
            return "unknown option " + arg;
        }
    }
    if (options.only && !findCheck(*options.only)) return "no check is named \"" + *options.only + "\"";
    // --only NAME --seed S replays the one case S of NAME.
    if (options.only && seedGiven) options.settings.oneCase = true;
    return {};
}

const char* statusWord(Status status) {
    switch (status) {
        case Status::Passed: return "passed";
        case Status::Failed: return "failed";
        case Status::Skipped: return "skipped";
    }
    return "";
}

std::vector<std::string> replayCommand(const std::string& program, const CheckSettings& settings, const Check& check,
                                       uint64_t seed) {
    return {program,  "validate", "--module", settings.module.string(), "--level", std::to_string(settings.level),
            "--only", check.name, "--seed",   std::to_string(seed)};
}

// ---- One check in a process of its own ----------------------------------------

std::string jsonLine(const Json& event) { return event.dump(-1, ' ', false, Json::error_handler_t::replace) + '\n'; }

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

CheckResult runInChild(const std::string& program, const CheckSettings& settings, const Check& check) {
    std::vector<std::string> command = {program,    "validate",
                                        "--child",  check.name,
                                        "--module", settings.module.string(),
                                        "--level",  std::to_string(settings.level),
                                        "--seed",   std::to_string(settings.seed)};
    if (settings.oneCase) command.push_back("--case");
    ChildRun run = runChild(command);
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

// ---- One check in this process ------------------------------------------------

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

// In --in-process a fault ends the whole validation: say where, then how to replay it.
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

// A check's process that hangs (a module in an endless loop) is ended by the
// system after this long and fails as ended by a signal. Generous: the
// sanitizer build runs the largest levels many times slower.
constexpr unsigned hangLimitSeconds = 1800;

int runChildMode(const Options& options, std::ostream& output) {
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

// ---- The report -----------------------------------------------------------------

// "(seed 7)" or "(seeds 1..15)": the cases run, for a replay of any of them.
std::string seedsRun(const CheckResult& result) {
    const uint64_t last = result.firstSeed + result.caseCount - 1;
    if (result.caseCount == 1) return "(seed " + std::to_string(last) + ")";
    return "(seeds " + std::to_string(result.firstSeed) + ".." + std::to_string(last) + ")";
}

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
}  // namespace

int runValidate(const std::vector<std::string>& args, const std::string& program, std::ostream& output,
                std::ostream& errors) {
    Options options;
    std::string problem = parseOptions(args, options);
    if (problem.empty() && options.child && !findCheck(*options.child)) problem = "no check is named " + *options.child;
    if (!problem.empty()) {
        errors << "cleartrace-host validate: " << problem << '\n' << usage;
        return 1;
    }
    if (options.help) {
        output << usage << help;
        return 0;
    }
    if (options.list) return listChecks(output);
    if (options.child) return runChildMode(options, output);

    const CheckSettings& settings = options.settings;
    std::error_code error;
    if (!std::filesystem::is_regular_file(settings.module, error)) {
        errors << "cleartrace-host validate: " << settings.module.string() << " is not a module file\n";
        return 1;
    }
    running = {&output, options.json, nullptr, std::nullopt, program, &settings};
    if (options.json) {
        output << jsonLine({{"event", "validate"},
                            {"module", settings.module.string()},
                            {"level", settings.level},
                            {"seed", settings.seed}});
    } else {
        output << "validating " << settings.module.string() << " at level " << settings.level << ", seed "
               << settings.seed << '\n';
    }
    std::optional<substitute::FaultReporting> reporting;
    if (options.inProcess) reporting.emplace(reportFaultHere);
    int passed = 0, failed = 0, skipped = 0;
    for (const Check& check : allChecks()) {
        if (options.only && *options.only != check.name) continue;
        CheckResult result;
        if (check.level > settings.level) {
            result = {Status::Skipped, "runs from level " + std::to_string(check.level), std::nullopt};
        } else {
            result = options.inProcess ? runHere(check, settings, false) : runInChild(program, settings, check);
        }
        std::string replay;
        if (result.status == Status::Failed && result.caseSeed) {
            replay = commandLine(replayCommand(program, settings, check, *result.caseSeed));
        }
        reportCheck(output, options.json, check, result, replay);
        passed += result.status == Status::Passed;
        failed += result.status == Status::Failed;
        skipped += result.status == Status::Skipped;
    }
    if (options.json) {
        output << jsonLine({{"event", "summary"}, {"passed", passed}, {"failed", failed}, {"skipped", skipped}});
    } else {
        output << passed << " passed, " << failed << " failed";
        if (skipped > 0) output << " (" << skipped << " skipped)";
        output << '\n';
    }
    return failed == 0 ? 0 : 1;
}

}  // namespace validator
