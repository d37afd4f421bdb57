#include "kernel/host_paths.h"

#include "core/fault.h"
#include "core/substitute_host.h"
#include "kernel/host_strings.h"

namespace substitute {
namespace {
HandleRegistry& handles() { return SubstituteHost::current().handles; }
int64_t live = 0;
}  // namespace

HostPath* makePath(const std::filesystem::path& path) {
    auto* handle = new HostPath{path};
    handles().add(handle, HandleKind::Path);
    ++live;
    return handle;
}

void deletePath(HostPath* path) {
    handles().check("Fn.free", path, HandleKind::Path);
    handles().remove(path);
    --live;
    delete path;
}

HostPath* newModulePath(const std::filesystem::path& path) {
    return SubstituteHost::current().services.objectCreationAllowed() ? makePath(path) : nullptr;
}

const std::filesystem::path& pathOf(const HostPath* path, const char* operation) {
    handles().check(operation, path, HandleKind::Path);
    return path->path;
}

int64_t livePaths() { return live; }

void fillPathTable(HostPathTable& table) {
    table.size = int32_t(sizeof(HostPathTable));
    table.create = []() { return newModulePath({}); };
    table.free = [](HostPath* path) { deletePath(path); };
    table.assign = [](HostPath* target, const HostPath* source) {
        const auto& value = pathOf(source, "Fn.assign");
        pathOf(target, "Fn.assign");
        target->path = value;
        return true;
    };
    table.directory = [](const HostPath* path) { return newModulePath(pathOf(path, "Fn.directory").parent_path()); };
    table.join = [](const HostPath* path, const HostString* element) {
        return newModulePath(pathOf(path, "Fn.join") / std::string(text(element, "Fn.join")));
    };
    table.lastComponent = [](const HostPath* path) {
        return newModuleString(pathOf(path, "Fn.lastComponent").filename().string());
    };
    table.equal = [](const HostPath* a, const HostPath* b) {
        return pathOf(a, "Fn.equal").lexically_normal() == pathOf(b, "Fn.equal").lexically_normal();
    };
    table.realPath = [](const HostPath* path, HostPath* real) {
        std::error_code problem;
        const std::filesystem::path found = std::filesystem::canonical(pathOf(path, "Fn.realPath"), problem);
        pathOf(real, "Fn.realPath");
        if (problem) return false;
        real->path = found;
        return true;
    };
    table.isEmpty = [](const HostPath* path) { return pathOf(path, "Fn.isEmpty").empty(); };
    table.toString = [](const HostPath* path) { return newModuleString(pathOf(path, "Fn.toString").string()); };
    table.fromString = [](const HostString* string) {
        return newModulePath(std::filesystem::path(std::string(text(string, "Fn.fromString"))));
    };
}

}  // namespace substitute
