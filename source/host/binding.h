// Where the module keeps what the host handed over: the 37 tables from the
// bind message and the kernel services written into g_maxon. Only the
// wrappers in this folder read them.
#pragma once

#include "host_kernel.h"

extern "C" HostModuleInfo g_maxon;

namespace host {

// The tables stored by the last accepted bind (all null before).
const HostTables& tables();
// Stores a copy of the binding structure's version and table pointers.
void storeTables(const HostTables& handed);
// Forgets the tables (after the final end, or a refused bind).
void forgetTables();
// True while every one of the 37 tables is bound.
bool tablesBound();

inline const HostKernel& kernel() { return *g_maxon.kernel; }
inline bool kernelBound() { return g_maxon.kernel != nullptr; }

}  // namespace host
