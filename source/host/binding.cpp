#include "binding.h"

namespace host {
namespace {
HostTables bound{};
}

const HostTables& tables() { return bound; }

void storeTables(const HostTables& handed) { bound = handed; }

void forgetTables() { bound = HostTables{}; }

bool tablesBound() {
#define CLEARTRACE_TABLE_PRESENT(name) &&bound.name != nullptr
    return true HOST_TABLE_NAMES(CLEARTRACE_TABLE_PRESENT);
#undef CLEARTRACE_TABLE_PRESENT
}

}  // namespace host
