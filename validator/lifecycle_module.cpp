#include "lifecycle_module.h"

#include <cstddef>
#include <cstring>

#include "dialog_contract.h"
#include "kernel/host_paths.h"

namespace validator {
namespace {
// Where the pointer to table index lies inside the binding structure.
const void** tableSlot(HostTables& tables, int index) {
    return reinterpret_cast<const void**>(reinterpret_cast<char*>(&tables) + offsetof(HostTables, t_C4DOS_Ge)) + index;
}
}  // namespace

bool Expectations::answer(const std::string& step, int32_t answer, int32_t expected) {
    if (answer == expected) return true;
    fact(false, step + " answered " + std::to_string(answer) + ", expected " + std::to_string(expected));
    return false;
}

bool Expectations::fact(bool holds, const std::string& what) {
    if (!holds && problem_.empty()) problem_ = sequence_ + ": " + what;
    return holds;
}

LifecycleModule::LifecycleModule(const std::filesystem::path& file) : file_(file) { loadProblem_ = loader.load(file); }

int32_t LifecycleModule::send(int32_t message, void* p1, void* p2, void* p3) {
    return loader.send(message, p1, p2, p3);
}

int32_t LifecycleModule::bind(const HostTables* tables, bool withPath) {
    // The module copies the path; the host's own goes after the call.
    HostPath* path = withPath ? substitute::makePath(file_) : nullptr;
    const int32_t answer = send(HOST_MODULE_BIND, const_cast<HostTables*>(tables), nullptr, path);
    if (path != nullptr) host.tables()->t_C4DOS_Fn->free(path);
    return answer;
}

int32_t LifecycleModule::moduleMessage(uint64_t id, void* data) {
    return send(HOST_MODULE_MESSAGE, reinterpret_cast<void*>(uintptr_t(id)), data);
}

std::string LifecycleModule::lastConsoleLine() const {
    const auto& console = host.services.console();
    return console.empty() ? std::string() : console.back().text;
}

bool LifecycleModule::commandRegistered() const {
    return substitute::findCommand(host.ui.commands, CLEARTRACE_COMMAND_ID) != nullptr;
}

std::string LifecycleModule::unloadAndCountLeft() {
    loader.unload();
    const substitute::KernelServices& services = host.services;
    const int64_t blocks = services.liveBlocks(), strings = services.liveStrings(), paths = services.livePaths(),
                  objects = services.liveObjects();
    if (blocks == 0 && strings == 0 && paths == 0 && objects == 0) return {};
    std::string report = "after unloading, the module left " + std::to_string(blocks) + " allocations, " +
                         std::to_string(strings) + " strings, " + std::to_string(paths) + " paths and " +
                         std::to_string(objects) + " host objects behind";
    for (const std::string& block : services.leakReport()) report += "; " + block;
    return report;
}

HostTables withoutTable(const HostTables& tables, int index) {
    HostTables copy = tables;
    *tableSlot(copy, index) = nullptr;
    return copy;
}

ShortenedTable::ShortenedTable(const HostTables& tables, int index) : tables_(tables) {
    const void** slot = tableSlot(tables_, index);
    int32_t size = 0;
    std::memcpy(&size, *slot, sizeof size);
    copy_.resize((size_t(size) + sizeof(uint64_t) - 1) / sizeof(uint64_t));
    std::memcpy(copy_.data(), *slot, size_t(size));
    const int32_t shorter = size - 1;
    std::memcpy(copy_.data(), &shorter, sizeof shorter);
    *slot = copy_.data();
}

}  // namespace validator
