// Where the module keeps what the host handed over: the 37 tables from the
// bind message and the kernel services written into g_maxon. Only the
// wrappers in this folder read them.
#pragma once

#include "host_kernel.h"

extern "C" HostModuleInfo g_maxon;

namespace host {

// The tables stored by the last accepted bind (all null before).
const HostTables& tables();
// Whether a host table (any struct that starts with its int32 size) holds at
// least the entries of the one the module was built with.
template <class Table>
bool hasEntries(const Table* table) {
    return table != nullptr && table->size >= int32_t(sizeof(Table));
}

// Stores a copy of the binding structure's version and table pointers; a
// table too short for the module is stored as missing.
void storeTables(const HostTables& handed);
// Forgets the tables (after the final end, or a refused bind).
void forgetTables();
// True while every one of the 37 tables is bound.
bool tablesBound();

inline const HostKernel& kernel() { return *g_maxon.kernel; }
inline bool kernelBound() { return g_maxon.kernel != nullptr; }

}  // namespace host
