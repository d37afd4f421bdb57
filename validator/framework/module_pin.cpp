#include "framework/module_pin.h"

#include <string>

#include "loading/shared_library.h"

namespace validator {

// A file that does not load is left to the runs to report.
ModulePin::ModulePin(const std::filesystem::path& module) {
    std::string error;
    library_ = substitute::openLibrary(module, error);
}

ModulePin::~ModulePin() { release(); }

void ModulePin::release() {
    if (library_ == nullptr) return;
    substitute::closeLibrary(library_);
    library_ = nullptr;
}

}  // namespace validator
