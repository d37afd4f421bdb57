// cleartrace-host validate: runs the validator's named, levelled checks on a
// module file and reports each as passed, failed (with a command that replays
// it) or skipped, then "N passed, M failed". Exit status 0 when none failed.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace validator {

inline constexpr const char* usage =
    "usage: cleartrace-host validate [--module FILE] [--level 1..10] [--seed S] [--only NAME] [--json]\n"
    "                                [--in-process] [--list]\n";

// What --help adds to the usage.
inline constexpr const char* help =
    "\n"
    "Runs named checks on the module file (default: the one this build made), each in a\n"
    "process of its own: the checks up to --level (1..10, default 5; higher levels run more\n"
    "cases on larger scenes), or only --only NAME. Random cases start from --seed (default 1).\n"
    "A failed check names its case and a command that replays it (--only NAME --seed S runs\n"
    "just that case). --json writes one JSON object a line; --in-process runs the checks in\n"
    "this process (a fault of the module then ends the validation); --list lists the checks.\n"
    "Exit status: 0 when no check failed, 1 otherwise.\n";

// args: what follows "validate"; program: how this program was started, for
// the checks' own processes and the replay commands.
int runValidate(const std::vector<std::string>& args, const std::string& program, std::ostream& output,
                std::ostream& errors);

}  // namespace validator
