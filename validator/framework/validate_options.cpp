#include "framework/validate_options.h"

#include "checks/checks.h"
#include "number_word.h"

namespace validator {

std::string parseValidateOptions(const std::vector<std::string>& args, ValidateOptions& options) {
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

}  // namespace validator
