#include "binding.h"

namespace host {
namespace {
HostTables bound{};
}

const HostTables& tables() { return bound; }

// A table shorter than the one the module was built with lacks entries the
// module may call: it counts as missing.
void storeTables(const HostTables& handed) {
    bound = handed;
#define CLEARTRACE_DROP_SHORT_TABLE(name) \
    if (!hasEntries(bound.name)) bound.name = nullptr;
    HOST_TABLE_NAMES(CLEARTRACE_DROP_SHORT_TABLE)
#undef CLEARTRACE_DROP_SHORT_TABLE
}

void forgetTables() { bound = HostTables{}; }

bool tablesBound() {
#define CLEARTRACE_TABLE_PRESENT(name) &&bound.name != nullptr
    return true HOST_TABLE_NAMES(CLEARTRACE_TABLE_PRESENT);
#undef CLEARTRACE_TABLE_PRESENT
}

}  // namespace host
