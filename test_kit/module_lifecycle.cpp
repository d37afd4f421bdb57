#include "module_lifecycle.h"

#include <utility>

#include "expected_command_id.h"
#include "kernel/host_paths.h"

namespace kit {

ModuleLifecycle::ModuleLifecycle(std::filesystem::path file, ModuleMain main)
    : file_(std::move(file)), main_(std::move(main)) {}

int32_t ModuleLifecycle::send(int32_t message, void* p1, void* p2, void* p3) { return main_(message, p1, p2, p3); }

int32_t ModuleLifecycle::bind(const HostTables* tables, bool withPath) {
    // The module copies the path; the host's own goes after the call.
    HostPath* path = withPath ? substitute::makePath(file_) : nullptr;
    const int32_t answer = send(HOST_MODULE_BIND, const_cast<HostTables*>(tables), nullptr, path);
    if (path != nullptr) host.tables()->t_C4DOS_Fn->free(path);
    return answer;
}

int32_t ModuleLifecycle::moduleMessage(uint64_t id, void* data) {
    return send(HOST_MODULE_MESSAGE, reinterpret_cast<void*>(uintptr_t(id)), data);
}

std::vector<std::string> ModuleLifecycle::consoleTexts() const {
    std::vector<std::string> texts;
    for (const substitute::ConsoleLine& line : host.services.console()) texts.push_back(line.text);
    return texts;
}

std::string ModuleLifecycle::lastConsoleLine() const {
    const auto& console = host.services.console();
    return console.empty() ? std::string() : console.back().text;
}

bool ModuleLifecycle::commandRegistered() const {
    return substitute::findCommand(host.ui.commands, expectedCommandId) != nullptr;
}

}  // namespace kit
