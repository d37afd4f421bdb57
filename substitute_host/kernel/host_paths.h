// Host paths: file system paths as the module sees them.
#pragma once

#include <filesystem>

#include "host/host_tables.h"

struct HostPath {
    std::filesystem::path path;
};

namespace substitute {

// A new path handle owned by the caller (free with the path table's free).
// For the host's own paths (the one handed over at bind): it never fails.
HostPath* makePath(const std::filesystem::path& path);
// Ends a path the host made and kept for itself (checked).
void deletePath(HostPath* path);
// A new path the module asked for: a host-object creation, which can be made
// to fail (then null).
HostPath* newModulePath(const std::filesystem::path& path);
// The path behind a handle the module handed in (checked).
const std::filesystem::path& pathOf(const HostPath* path, const char* operation);
int64_t livePaths();

void fillPathTable(HostPathTable& table);

}  // namespace substitute
