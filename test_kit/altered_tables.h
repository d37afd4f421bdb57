// The host's tables as a broken host hands them over: one table missing, or
// one that says it is shorter than it is.
#pragma once

#include <cstdint>
#include <vector>

#include "host/host_tables.h"

namespace kit {

// A copy of tables with the table at index (0: t_C4DOS_Ge) missing.
HostTables withoutTable(const HostTables& tables, int index);

// A copy of one table that says it is a byte shorter than it is; it lives as
// long as this object, which hands out the tables that point at it.
class ShortenedTable {
public:
    ShortenedTable(const HostTables& tables, int index);
    const HostTables* tables() const { return &tables_; }

private:
    std::vector<uint64_t> copy_;
    HostTables tables_;
};

}  // namespace kit
