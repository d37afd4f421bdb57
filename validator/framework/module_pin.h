// Keeps a module file loaded while a check starts and ends it many times, so
// that each run's load and unload does not map and unmap the whole file
// again (that is most of a short run's time). The module is still bound,
// started, ended and released by every run; only its static storage outlives
// a run, as it does when a host is restarted without unloading the file.
#pragma once

#include <filesystem>

namespace validator {

class ModulePin {
public:
    explicit ModulePin(const std::filesystem::path& module);
    ~ModulePin();
    ModulePin(const ModulePin&) = delete;
    ModulePin& operator=(const ModulePin&) = delete;

    // Lets the file go: later runs load it afresh.
    void release();

private:
    void* library_ = nullptr;
};

}  // namespace validator
