#include "kernel/kernel_services.h"

#include <cstdlib>
#include <string_view>

#include "core/fault.h"
#include "core/substitute_host.h"
#include "kernel/host_paths.h"
#include "kernel/host_strings.h"

namespace substitute {
namespace {
KernelServices& services() { return SubstituteHost::current().services; }

constexpr std::string_view frameworkOfTheApplication = "net.maxon.c4d.cinema.framework";
}  // namespace

void KernelServices::fill(HostKernel& kernel, TableStorage& tables) {
    kernel.size = int32_t(sizeof(HostKernel));
    kernel.allocate = [](int64_t bytes, bool clear, const char* file, int32_t line) {
        return services().allocate(bytes, clear, file, line);
    };
    kernel.freeMemory = [](void* block) { services().freeMemory(block); };
    fillStringServices(kernel);
    kernel.log = [](const char* logger, int32_t level, const HostString* text, const char* file, int32_t line) {
        services().log(logger, level, text, file, line);
    };
    kernel.debugBreak = []() { ++services().debugBreaks_; };
    kernel.applicationUrl = [](int32_t kind, const char* frameworkId) {
        return services().applicationUrl(kind, frameworkId);
    };
    kernel.configRegisterBool = [](const char* name, bool defaultValue, const char* help) {
        return services().registerSwitch(name, defaultValue, help);
    };
    kernel.configBool = [](const char* name, bool fallback) { return services().switchValue(name, fallback); };
    fillPathTable(tables.fn);
}

// ---- Memory -------------------------------------------------------------------------

void* KernelServices::allocate(int64_t bytes, bool clear, const char* file, int32_t line) {
    if (bytes < 0) fault("allocate", "negative size " + std::to_string(bytes));
    if (!allocations_.allow()) return nullptr;
    size_t size = bytes == 0 ? 1 : size_t(bytes);
    void* block = clear ? std::calloc(1, size) : std::malloc(size);
    if (block == nullptr) return nullptr;
    blocks_[block] = Block{bytes, file ? file : "?", line};
    return block;
}

void KernelServices::freeMemory(void* block) {
    if (block == nullptr) return;
    auto found = blocks_.find(block);
    if (found == blocks_.end()) fault("freeMemory", "block was not allocated by the host or is freed already");
    blocks_.erase(found);
    std::free(block);
}

std::vector<std::string> KernelServices::leakReport() const {
    std::vector<std::string> lines;
    for (const auto& [block, info] : blocks_) {
        lines.push_back(info.file + ":" + std::to_string(info.line) + " (" + std::to_string(info.bytes) + " bytes)");
    }
    return lines;
}

int64_t KernelServices::liveStrings() const { return substitute::liveStrings() - stringsBefore_; }
int64_t KernelServices::livePaths() const { return substitute::livePaths() - pathsBefore_; }

int64_t KernelServices::liveObjects() const {
    const HandleRegistry& handles = SubstituteHost::current().handles;
    size_t count = 0;
    for (HandleKind kind : {HandleKind::Path, HandleKind::Value, HandleKind::Container, HandleKind::Array,
                            HandleKind::Bitmap, HandleKind::Resource, HandleKind::FileList}) {
        count += handles.count(kind);
    }
    // Objects the module asked the scene for and still owns, and documents
    // read for the module, which are the module's to free.
    return int64_t(count) + SubstituteHost::current().scene.moduleObjects() +
           int64_t(SubstituteHost::current().scene.hiddenDocumentCount());
}

// ---- Console ---------------------------------------------------------------------------

void KernelServices::log(const char* logger, int32_t level, const HostString* text, const char* file, int32_t line) {
    if (logger == nullptr) fault("log", "null logger id");
    ConsoleLine entry{logger, level, std::string(substitute::text(text, "log")), file ? file : "", line};
    console_.push_back(entry);
    if (onConsoleLine) onConsoleLine(entry);
}

// ---- Configuration -------------------------------------------------------------------------

void KernelServices::setSwitch(const std::string& name, bool value) { switches_[name].value = value; }

bool KernelServices::registerSwitch(const char* name, bool defaultValue, const char* help) {
    if (name == nullptr) fault("configRegisterBool", "null name");
    auto [entry, added] = switches_.try_emplace(name);
    ConfigSwitch& config = entry->second;
    if (added) config.value = defaultValue;
    config.defaultValue = defaultValue;
    config.help = help ? help : "";
    config.registered = true;
    return true;
}

bool KernelServices::switchValue(const char* name, bool fallback) const {
    if (name == nullptr) fault("configBool", "null name");
    auto found = switches_.find(name);
    return found != switches_.end() && found->second.registered ? found->second.value : fallback;
}

// ---- Application folders ------------------------------------------------------------------

HostPath* KernelServices::applicationUrl(int32_t kind, const char* frameworkId) const {
    if (kind == HOST_URL_STARTUP) return newModulePath(startupFolder);
    if (kind == HOST_URL_FRAMEWORK_FOLDER && frameworkId && frameworkId == frameworkOfTheApplication) {
        return newModulePath(frameworkFolder);
    }
    return nullptr;
}

}  // namespace substitute
