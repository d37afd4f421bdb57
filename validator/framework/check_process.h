// Running one check: in a process of its own (the parent reads the events the
// child prints), or here, where a fault of the module ends the validation.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "framework/check.h"
#include "framework/validate_options.h"

namespace validator {

// The command that replays one case of a check.
std::vector<std::string> replayCommand(const std::string& program, const CheckSettings& settings, const Check& check,
                                       uint64_t seed);

// Starts program as a check's own process and reads its result.
CheckResult runInChild(const std::string& program, const CheckSettings& settings, const Check& check);

// Where checks run here report, and what a replay command starts.
void startRunningHere(std::ostream& output, bool json, const std::string& program, const CheckSettings& settings);
CheckResult runHere(const Check& check, const CheckSettings& settings, bool childEvents);
// The fault reporter of --in-process, where a fault ends the whole validation:
// says where, then how to replay it.
void reportFaultHere(std::string_view operation, std::string_view text);

// The check's own process: runs it and prints its events.
int runChildMode(const ValidateOptions& options, std::ostream& output);

}  // namespace validator
