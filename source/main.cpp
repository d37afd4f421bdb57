// Module entry and lifecycle (bind, start, module messages, end).
#include "main.h"

#include "host/binding.h"

#if defined(_WIN32)
#define CLEARTRACE_EXPORT __declspec(dllexport)
#else
#define CLEARTRACE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
CLEARTRACE_EXPORT HostModuleInfo g_maxon = {};
CLEARTRACE_EXPORT HostCpuYieldDelegate g_CpuYieldDelegate = {};
CLEARTRACE_EXPORT int32_t c4d_main(int32_t message, void* p1, void* p2, void* p3);
}

int32_t c4d_main(int32_t message, void*, void*, void*) { return message == HOST_MODULE_VERSION_QUERY ? 5 : -1; }
