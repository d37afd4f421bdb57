// What validate prints: a line a check (or a JSON object a line), the list of
// the checks, and the JSON events a check's own process tells its parent.
#pragma once

#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "framework/check.h"

namespace validator {

using Json = nlohmann::ordered_json;

std::string jsonLine(const Json& event);
const char* statusWord(Status status);
void reportCheck(std::ostream& output, bool json, const Check& check, CheckResult result, const std::string& replay);
int listChecks(std::ostream& output);

}  // namespace validator
