// Module entry and lifecycle (bind, start, module messages, end).
#include "main.h"

#include "host/binding.h"
#include "host/plugin.h"
#include "tagrem.h"

#if defined(_WIN32)
#define CLEARTRACE_EXPORT __declspec(dllexport)
#else
#define CLEARTRACE_EXPORT __attribute__((visibility("default")))
#endif

namespace {

// ---- Module information read by the host's kernel ------------------------------------
constexpr uint64_t identifierHash(std::string_view text) {
    uint64_t hash = 0;
    for (const char c : text) hash = hash * 31 + uint8_t(c);
    constexpr uint64_t low43 = (uint64_t(1) << 43) - 1;
    return (uint64_t(text.size()) << 44) | (hash & low43);
}

constexpr HostFrameworkEntry identifier(const char* id) { return {id, identifierHash(id)}; }

constexpr HostFrameworkEntry frameworks[] = {
    identifier("net.maxon.animation.framework"),  identifier("net.maxon.asset.framework"),
    identifier("net.maxon.c4d.cinema.framework"), identifier("net.maxon.c4d.cinema_hybrid.framework"),
    identifier("net.maxon.command.framework"),    identifier("net.maxon.core.framework"),
    identifier("net.maxon.corenodes.framework"),  identifier("net.maxon.crypt.framework"),
    identifier("net.maxon.exchange.framework"),   identifier("net.maxon.graph.framework"),
    identifier("net.maxon.image.framework"),      identifier("net.maxon.image_ocio.framework"),
    identifier("net.maxon.math.framework"),       identifier("net.maxon.mesh_misc.framework"),
    identifier("net.maxon.misc.framework"),       identifier("net.maxon.modeling_geom.framework"),
    identifier("net.maxon.network.framework"),    identifier("net.maxon.neutron.framework"),
    identifier("net.maxon.nodes.framework"),      identifier("net.maxon.nodespace.framework"),
    identifier("net.maxon.python.framework"),
};
constexpr int32_t frameworkCount = int32_t(sizeof(frameworks) / sizeof(frameworks[0]));
static_assert(frameworkCount == 21);

void returnAtOnce(void*) {}

}  // namespace

extern "C" {
CLEARTRACE_EXPORT constinit HostModuleInfo g_maxon = {
#if defined(_WIN32)
    HOST_INTERFACE_VERSION,
    HOST_INTERFACE_VERSION,
#else
    HOST_INTERFACE_VERSION,
    0,
#endif
    "com.tessalysoftware.cleartrace",
    frameworkCount,
    frameworks,
    "[reflection registration]",
    identifier(".reflection"),
    nullptr,
};
CLEARTRACE_EXPORT constinit HostCpuYieldDelegate g_CpuYieldDelegate = {&returnAtOnce, nullptr};
CLEARTRACE_EXPORT int32_t c4d_main(int32_t message, void* p1, void* p2, void* p3);
}

namespace {

// ---- Module-wide state ------------------------------------------------------------------
struct ModuleResource {
    HostResource* handle = nullptr;
    bool loadAttempted = false;
    host::Path* folder = nullptr;
    bool initialised = false;
};

// The module's own file path lives in an 8-byte block of host memory.
static_assert(sizeof(host::Path) == sizeof(void*));

int32_t initCount = 0;
// The first bind of the current run was refused: its tables are not used.
bool bindRefused = false;
host::Path* storedModulePath = nullptr;
ModuleResource moduleResource;

constexpr const char* enableDebugBreakSwitch = "g_enableDebugBreak";
constexpr const char* trackCpuYieldSwitch = "g_trackCpuYield";
constexpr const char* applicationFramework = "net.maxon.c4d.cinema.framework";

// Accepted by the current run's first bind, with the host's services in place.
bool bound() { return initCount > 0 && !bindRefused && host::kernelBound() && host::tablesBound(); }

void registerConfigurationSwitches() {
    host::configRegisterBool(enableDebugBreakSwitch, true, "enable debug breaks (when debugger is attached)");
    host::configRegisterBool(trackCpuYieldSwitch, false,
                             "Track usage of Spinlocks (either for performance checks or deadlock detection)");
}

void reportMissingTable() {
#define CLEARTRACE_TABLE_TERM(name) " && " #name
    constexpr std::string_view terms = HOST_TABLE_NAMES(CLEARTRACE_TABLE_TERM);
#undef CLEARTRACE_TABLE_TERM
    HOST_LOG_CRITICAL(host::String("Assertion failed: ") + host::String(terms.substr(4)));
    if (host::configBool(enableDebugBreakSwitch, true)) host::debugBreak();
}

// The first bind of a run; false refuses it.
bool bindFirst(const HostTables* handed, const HostPath* file) {
    // Without kernel services nothing can be reported or allocated.
    if (!host::kernelBound()) return false;
    registerConfigurationSwitches();
    if (handed == nullptr) return false;
    host::storeTables(*handed);
    if (!host::tablesBound()) {
        reportMissingTable();
        return false;
    }
    if (handed->version < HOST_INTERFACE_VERSION || file == nullptr) return false;
    storedModulePath = host::createZeroed<host::Path>(__FILE__, __LINE__);
    if (storedModulePath != nullptr) storedModulePath->assign(file);
    return true;
}

int32_t bindToHost(void* p1, void* p3) {
    ++initCount;
    if (initCount == 1) {
        bindRefused = !bindFirst(static_cast<const HostTables*>(p1), static_cast<const HostPath*>(p3));
        // A refused host's tables are never called.
        if (bindRefused) host::forgetTables();
    }
    return bindRefused ? HOST_MODULE_BIND_REFUSED : HOST_MODULE_HANDLED;
}

bool loadModuleResource() {
    if (!bound()) return false;
    ModuleResource& resource = moduleResource;
    resource.initialised = true;
    if (resource.folder == nullptr) {
        resource.folder = host::createZeroed<host::Path>(__FILE__, __LINE__);
        if (resource.folder == nullptr) return false;
        resource.folder->assign(resourceFolder());
    }
    if (!resource.loadAttempted) {
        resource.handle = host::loadResource(*resource.folder);
        resource.loadAttempted = true;
    }
    return resource.handle != nullptr;
}

// What the final end gives back: the resource (clearing loadAttempted too, so
// that a later run loads it afresh) and the module path.
void releaseModuleState() {
    if (moduleResource.handle != nullptr) host::freeResource(moduleResource.handle, moduleResource.initialised);
    host::destroyZeroed(moduleResource.folder);
    moduleResource = ModuleResource{};
    host::destroyZeroed(std::exchange(storedModulePath, nullptr));
}

int32_t startModule() {
    const bool registered = bound() && registerCommand();
    if (!host::kernelBound()) return HOST_MODULE_FAILED;
    if (registered) {
        HOST_LOG(host::String("Tessaly Software: Cleartrace successfully loaded."));
        return HOST_MODULE_HANDLED;
    }
    HOST_LOG(host::String("Tessaly Software: Failed to load Cleartrace"));
    return HOST_MODULE_FAILED;
}

int32_t moduleMessage(int32_t id) {
    switch (id) {
        case HOST_MODULE_MESSAGE_NONE: return HOST_MODULE_HANDLED;
        case HOST_MODULE_MESSAGE_RESOURCE:
            if (loadModuleResource()) return HOST_MODULE_HANDLED;
            if (host::kernelBound()) HOST_LOG(host::String("Cleartrace: failed to load resource file."));
            return HOST_MODULE_NOT_HANDLED;
        default: return HOST_MODULE_NOT_HANDLED;
    }
}

int32_t endModule() {
    // An end without a bind changes nothing.
    if (initCount == 0) return HOST_MODULE_HANDLED;
    --initCount;
    if (initCount > 0) return HOST_MODULE_HANDLED;
    releaseModuleState();
    bindRefused = false;
    return HOST_MODULE_HANDLED;
}

// When the library is unloaded without a final end, what the end would give
// back goes back to the host, but only to a host whose tables are still bound.
// After a final end there is nothing left to give.
struct StaticCleanUp {
    ~StaticCleanUp() {
        if (host::kernelBound() && host::tablesBound()) releaseModuleState();
    }
} staticCleanUp;

}  // namespace

int32_t c4d_main(int32_t message, void* p1, void* p2, void* p3) {
    (void)p2;
    switch (message) {
        case HOST_MODULE_BIND: return bindToHost(p1, p3);
        case HOST_MODULE_START: return startModule();
        case HOST_MODULE_END: return endModule();
        case HOST_MODULE_VERSION_QUERY: return HOST_MODULE_VERSION_ANSWER;
        case HOST_MODULE_MESSAGE: return moduleMessage(int32_t(uint32_t(reinterpret_cast<uintptr_t>(p1))));
        default: return HOST_MODULE_NOT_HANDLED;
    }
}

// ---- Offered to the rest of the module -------------------------------------------------------
host::String resourceString(int32_t id) {
    if (moduleResource.handle == nullptr || !bound()) return host::String();
    return host::resourceString(moduleResource.handle, id);
}

host::Path modulePath() { return storedModulePath != nullptr ? *storedModulePath : host::Path(); }

host::Path moduleFolder() { return storedModulePath != nullptr ? storedModulePath->directory() : host::Path(); }

host::Path resourceFolder() {
    const host::Path folder = moduleFolder();
    // A module installed inside the application keeps its resource with the application's.
    const host::Path applicationModules = host::applicationUrl(HOST_URL_FRAMEWORK_FOLDER, applicationFramework);
    if (!applicationModules.empty() && folder == applicationModules) {
        return host::applicationUrl(HOST_URL_STARTUP, nullptr)
            .join(host::String("resource"))
            .join(host::String("modules"))
            .join(folder.lastComponent());
    }
    return folder.join(host::String("res"));
}

int32_t moduleBindCount() { return initCount; }
