// Shared libraries, the same way on every platform: the module loader and
// anything else that must keep a module file mapped use these.
#pragma once

#include <filesystem>
#include <string>

namespace substitute {

// The library's handle, or null with error set to why it did not load.
void* openLibrary(const std::filesystem::path& file, std::string& error);
void* findSymbol(void* library, const char* name);
void closeLibrary(void* library);

}  // namespace substitute
