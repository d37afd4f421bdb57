#include "fault.h"

#include <cstdio>
#include <cstdlib>

namespace substitute {

void fault(std::string_view operation, std::string_view message) {
    std::fprintf(stderr, "substitute host: module fault in %.*s: %.*s\n", int(operation.size()), operation.data(),
                 int(message.size()), message.data());
    std::fflush(stderr);
    std::abort();
}

}  // namespace substitute
