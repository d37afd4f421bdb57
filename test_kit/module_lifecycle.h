// A module spoken to through c4d_main alone, as the application's kernel
// does, over a fresh substitute host: for the tests of the entry point and the
// validator's lifecycle cases, which send its messages out of order and with
// bad hosts too. Whether c4d_main is linked in or found in a loaded module
// file is the caller's choice.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/substitute_host.h"

namespace kit {

using ModuleMain = std::function<int32_t(int32_t message, void* p1, void* p2, void* p3)>;

class ModuleLifecycle {
public:
    // file: the module file the bind names (the host never reads it).
    ModuleLifecycle(std::filesystem::path file, ModuleMain main);
    ModuleLifecycle(const ModuleLifecycle&) = delete;
    ModuleLifecycle& operator=(const ModuleLifecycle&) = delete;

    int32_t send(int32_t message, void* p1 = nullptr, void* p2 = nullptr, void* p3 = nullptr);
    // Message 1 with tables (the host's own by default) and, when withPath,
    // a host path of the module file that the host frees after the call.
    int32_t bind(const HostTables* tables, bool withPath = true);
    int32_t bind() { return bind(host.tables()); }
    int32_t moduleMessage(uint64_t id, void* data = nullptr);
    int32_t loadResource() { return moduleMessage(HOST_MODULE_MESSAGE_RESOURCE); }
    int32_t start() { return send(HOST_MODULE_START); }
    int32_t end() { return send(HOST_MODULE_END); }

    std::vector<std::string> consoleTexts() const;
    // The console's last line, "" when it has none.
    std::string lastConsoleLine() const;
    bool commandRegistered() const;

    const std::filesystem::path& file() const { return file_; }

    substitute::SubstituteHost host;

private:
    std::filesystem::path file_;
    ModuleMain main_;
};

}  // namespace kit
