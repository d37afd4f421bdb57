// The options of cleartrace-host validate, as given on its command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/check.h"

namespace validator {

struct ValidateOptions {
    CheckSettings settings{CLEARTRACE_MODULE_FILE};
    std::optional<std::string> only;
    bool json = false;
    bool inProcess = false;
    bool list = false;
    bool help = false;
    // The validator starting itself for one check: JSON events, --seed is the first case's.
    std::optional<std::string> child;
};

// Reads args into options; answers "" or what is wrong with them.
std::string parseValidateOptions(const std::vector<std::string>& args, ValidateOptions& options);

}  // namespace validator
