// A fault of the module (a stale, foreign or wrong handle, a misuse of a host
// operation) stops the run at once with a message naming the operation.
#pragma once

#include <string_view>

namespace substitute {

[[noreturn]] void fault(std::string_view operation, std::string_view message);

}  // namespace substitute
