#include "fault.h"

#include <cstdio>
#include <cstdlib>

namespace substitute {

namespace { FaultReporter reporter = nullptr; }
void setFaultReporter(FaultReporter r) { reporter = r; }
void fault(std::string_view operation, std::string_view message) {
    if (reporter) { reporter(operation, message); std::fflush(stdout); std::_Exit(3); }
    std::fprintf(stderr, "substitute host: module fault in %.*s: %.*s\n", int(operation.size()), operation.data(),
                 int(message.size()), message.data());
    std::fflush(stderr);
    std::abort();
}

}  // namespace substitute
