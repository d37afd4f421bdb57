#include "core/fault.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <utility>

namespace substitute {
namespace {
FaultReporter& installedReporter() {
    static FaultReporter reporter;
    return reporter;
}
bool reporting = false;

[[noreturn]] void abortWithMessage(std::string_view operation, std::string_view message) {
    std::fprintf(stderr, "substitute host: module fault in %.*s: %.*s\n", int(operation.size()), operation.data(),
                 int(message.size()), message.data());
    std::fflush(stderr);
    std::abort();
}
}  // namespace

void fault(std::string_view operation, std::string_view message) {
    const FaultReporter& reporter = installedReporter();
    if (!reporter || reporting) abortWithMessage(operation, message);
    reporting = true;
    reporter(operation, message);
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    // The module is in the middle of a call: nothing of it may run again, not
    // even the destructors of statics.
    std::_Exit(faultExitStatus);
}

FaultReporter setFaultReporter(FaultReporter reporter) {
    return std::exchange(installedReporter(), std::move(reporter));
}

}  // namespace substitute
