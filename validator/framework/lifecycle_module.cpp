#include "framework/lifecycle_module.h"

#include "left_behind.h"

namespace validator {

bool Expectations::answer(const std::string& step, int32_t answer, int32_t expected) {
    if (answer == expected) return true;
    fact(false, step + " answered " + std::to_string(answer) + ", expected " + std::to_string(expected));
    return false;
}

bool Expectations::fact(bool holds, const std::string& what) {
    if (!holds && problem_.empty()) problem_ = sequence_ + ": " + what;
    return holds;
}

LifecycleModule::LifecycleModule(const std::filesystem::path& file)
    : kit::ModuleLifecycle(
          file, [this](int32_t message, void* p1, void* p2, void* p3) { return loader.send(message, p1, p2, p3); }) {
    loadProblem_ = loader.load(file);
}

std::string LifecycleModule::unloadAndCountLeft() {
    loader.unload();
    const std::string left = driver::leakSummary(host.services, "", "; ");
    return left.empty() ? left : "after unloading, " + left;
}

}  // namespace validator
