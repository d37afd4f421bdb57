#include "framework/validate.h"

#include <optional>

#include "checks/checks.h"
#include "core/fault.h"
#include "framework/check_process.h"
#include "framework/child_process.h"
#include "framework/validate_options.h"
#include "framework/validate_report.h"

namespace validator {

int runValidate(const std::vector<std::string>& args, const std::string& program, std::ostream& output,
                std::ostream& errors) {
    ValidateOptions options;
    std::string problem = parseValidateOptions(args, options);
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
    startRunningHere(output, options.json, program, settings);
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
