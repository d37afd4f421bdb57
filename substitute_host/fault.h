// A fault of the module (a stale, foreign or wrong handle, a misuse of a host
// operation) stops the run at once with a message naming the operation.
#pragma once

#include <string_view>

namespace substitute {

using FaultReporter = void (*)(std::string_view operation, std::string_view text);
void setFaultReporter(FaultReporter reporter);

[[noreturn]] void fault(std::string_view operation, std::string_view message);

}  // namespace substitute
