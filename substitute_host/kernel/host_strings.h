// Host strings: reference-counted UTF-8 texts; null is the empty string.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/host_kernel.h"

struct HostString {
    std::atomic<int32_t> references{1};
    std::string text;
};

namespace substitute {

// The text of a string the module handed in (checked; null gives "").
std::string_view text(const HostString* string, const char* operation);
// A new string (one reference) owned by the caller, empty text included.
// For the host's own strings: it never fails.
HostString* makeString(std::string_view text);
// A new string handed to the module ("new reference"): a creation request,
// empty text included, that can be made to fail, answering null.
HostString* newModuleString(std::string_view text);
void releaseString(HostString* string);
// Live host strings (for leak checks).
int64_t liveStrings();

void fillStringServices(HostKernel& kernel);

}  // namespace substitute
