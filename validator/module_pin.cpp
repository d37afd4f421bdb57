#include "module_pin.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace validator {

// A file that does not load is left to the runs to report.
ModulePin::ModulePin(const std::filesystem::path& module) {
#ifdef _WIN32
    library_ = reinterpret_cast<void*>(LoadLibraryW(module.wstring().c_str()));
#else
    library_ = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
}

ModulePin::~ModulePin() { release(); }

void ModulePin::release() {
    if (library_ == nullptr) return;
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(library_));
#else
    dlclose(library_);
#endif
    library_ = nullptr;
}

}  // namespace validator
