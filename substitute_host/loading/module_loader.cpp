#include "loading/module_loader.h"

#include <utility>

#include "core/fault.h"
#include "core/substitute_host.h"
#include "kernel/host_paths.h"
#include "loading/shared_library.h"

namespace substitute {
namespace {
// Why the module's information block does not fit this host, or "".
std::string versionProblem(const HostModuleInfo& info) {
    if (info.version != HOST_INTERFACE_VERSION) {
        return "g_maxon gives interface version " + std::to_string(info.version) + ", this host speaks " +
               std::to_string(HOST_INTERFACE_VERSION);
    }
#ifdef _WIN32
    if (info.versionAgain != HOST_INTERFACE_VERSION) {
        return "g_maxon gives interface version " + std::to_string(info.versionAgain) + " in its second field";
    }
#endif
    return {};
}
}  // namespace

ModuleLoader::ModuleLoader(SubstituteHost& host) : host_(host) {}

ModuleLoader::~ModuleLoader() {
    if (loaded() && SubstituteHost::running()) unload();
}

std::string ModuleLoader::load(const std::filesystem::path& file) {
    if (loaded()) return "a module is already loaded (" + file_.string() + ")";
    std::string error;
    void* library = openLibrary(file, error);
    if (library == nullptr) return "cannot load " + file.string() + ": " + error;

    auto entry = reinterpret_cast<HostModuleMain>(findSymbol(library, "c4d_main"));
    auto* info = static_cast<HostModuleInfo*>(findSymbol(library, "g_maxon"));
    auto* cpuYield = static_cast<HostCpuYieldDelegate*>(findSymbol(library, "g_CpuYieldDelegate"));
    std::string missing;
    if (entry == nullptr) missing += " c4d_main";
    if (info == nullptr) missing += " g_maxon";
    if (cpuYield == nullptr) missing += " g_CpuYieldDelegate";
    std::string problem = missing.empty() ? versionProblem(*info) : file.string() + " does not export" + missing;
    if (!problem.empty()) {
        closeLibrary(library);
        return problem;
    }
    library_ = library;
    main_ = entry;
    info_ = info;
    cpuYield_ = cpuYield;
    file_ = file;
    info_->kernel = host_.kernel();
    return {};
}

int32_t ModuleLoader::send(int32_t message, void* p1, void* p2, void* p3) {
    if (!loaded()) fault("module loader", "c4d_main called with no module loaded");
    return main_(message, p1, p2, p3);
}

int32_t ModuleLoader::bind() {
    // The module copies the path; the host's own goes after the call.
    HostPath* path = makePath(file_);
    int32_t answer = send(HOST_MODULE_BIND, const_cast<HostTables*>(host_.tables()), nullptr, path);
    if (path != nullptr) host_.tables()->t_C4DOS_Fn->free(path);
    return answer;
}

int32_t ModuleLoader::loadResource() {
    return send(HOST_MODULE_MESSAGE, reinterpret_cast<void*>(intptr_t(HOST_MODULE_MESSAGE_RESOURCE)));
}

int32_t ModuleLoader::start() { return send(HOST_MODULE_START); }

int32_t ModuleLoader::versionQuery() { return send(HOST_MODULE_VERSION_QUERY); }

int32_t ModuleLoader::end() { return send(HOST_MODULE_END); }

StartUpAnswers ModuleLoader::startUp() {
    StartUpAnswers answers;
    answers.bind = bind();
    if (answers.bind != HOST_MODULE_HANDLED) return answers;
    answers.resource = loadResource();
    answers.start = start();
    return answers;
}

void ModuleLoader::quit() {
    host_.ui.shutDown();
    end();
    unload();
}

void ModuleLoader::unload() {
    if (!loaded()) return;
    host_.ui.shutDown();
    closeLibrary(std::exchange(library_, nullptr));
    main_ = nullptr;
    info_ = nullptr;
    cpuYield_ = nullptr;
}

}  // namespace substitute
