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

// args: what follows "validate"; program: how this program was started, for
// the checks' own processes and the replay commands.
int runValidate(const std::vector<std::string>& args, const std::string& program, std::ostream& output,
                std::ostream& errors);

}  // namespace validator
