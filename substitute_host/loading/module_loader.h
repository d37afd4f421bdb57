// Loads the built module file as a real shared library and drives it as the
// application does: read g_maxon, hand it the kernel services, then the
// lifecycle messages of c4d_main (bind, resource, start, end) and unload.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "host/host_kernel.h"

namespace substitute {

class SubstituteHost;

// The answers of the usual start-up; a refused bind sends nothing further.
struct StartUpAnswers {
    int32_t bind = 0;
    int32_t resource = 0;
    int32_t start = 0;
    bool started() const { return bind == HOST_MODULE_HANDLED && start == HOST_MODULE_HANDLED; }
};

class ModuleLoader {
public:
    explicit ModuleLoader(SubstituteHost& host);
    ~ModuleLoader();  // unloads a module still loaded
    ModuleLoader(const ModuleLoader&) = delete;
    ModuleLoader& operator=(const ModuleLoader&) = delete;

    // Loads file, finds c4d_main, g_maxon and g_CpuYieldDelegate, checks the
    // module's interface version and writes the kernel into g_maxon.
    // Answers "" when loaded, else what went wrong (nothing stays loaded).
    std::string load(const std::filesystem::path& file);
    bool loaded() const { return library_ != nullptr; }

    // c4d_main with the raw arguments, for tests of the lifecycle.
    int32_t send(int32_t message, void* p1 = nullptr, void* p2 = nullptr, void* p3 = nullptr);
    // Message 1 with the host's tables and a host path of the module file.
    int32_t bind();
    // Message 6, id 1.
    int32_t loadResource();
    int32_t start();
    int32_t versionQuery();
    int32_t end();
    StartUpAnswers startUp();
    // The application quits: destroys the registered commands, ends the module, unloads it.
    void quit();
    // Unloads the library; the commands it registered are destroyed first,
    // since the host cannot call into a library that is gone.
    void unload();

    HostModuleInfo* moduleInfo() const { return info_; }
    HostCpuYieldDelegate* cpuYieldDelegate() const { return cpuYield_; }
    const std::filesystem::path& file() const { return file_; }

private:
    SubstituteHost& host_;
    void* library_ = nullptr;
    HostModuleMain main_ = nullptr;
    HostModuleInfo* info_ = nullptr;
    HostCpuYieldDelegate* cpuYield_ = nullptr;
    std::filesystem::path file_;
};

}  // namespace substitute
