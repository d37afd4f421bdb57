// What a module left in the host after its end: every allocation, string,
// path and other host object still alive then is a leak.
#pragma once

#include <string>
#include <string_view>

#include "kernel/kernel_services.h"

namespace driver {

// "" when the module left nothing, else "the module left 1 allocations,
// 0 strings, 0 paths and 1 other host objects behind" followed by when, then
// each block still allocated, each after separator.
std::string leakSummary(const substitute::KernelServices& services, std::string_view when, std::string_view separator);

}  // namespace driver
