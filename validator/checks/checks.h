// Every check of the validator, in the order they run.
#pragma once

#include <string_view>
#include <vector>

#include "framework/check.h"

namespace validator {

const std::vector<Check>& allChecks();
const Check* findCheck(std::string_view name);

}  // namespace validator
