#include "altered_tables.h"

#include <cstddef>
#include <cstring>

namespace kit {
namespace {
// Where the pointer to table index lies inside the binding structure.
const void** tableSlot(HostTables& tables, int index) {
    return reinterpret_cast<const void**>(reinterpret_cast<char*>(&tables) + offsetof(HostTables, t_C4DOS_Ge)) + index;
}
}  // namespace

HostTables withoutTable(const HostTables& tables, int index) {
    HostTables copy = tables;
    *tableSlot(copy, index) = nullptr;
    return copy;
}

ShortenedTable::ShortenedTable(const HostTables& tables, int index) : tables_(tables) {
    const void** slot = tableSlot(tables_, index);
    int32_t size = 0;
    std::memcpy(&size, *slot, sizeof size);
    copy_.resize((size_t(size) + sizeof(uint64_t) - 1) / sizeof(uint64_t));
    std::memcpy(copy_.data(), *slot, size_t(size));
    const int32_t shorter = size - 1;
    std::memcpy(copy_.data(), &shorter, sizeof shorter);
    *slot = copy_.data();
}

}  // namespace kit
