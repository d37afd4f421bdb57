// Files written whole or not at all: the scene files the driver saves and the
// files the module writes (the Fi table's writeWhole).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "host/host_tables.h"

namespace substitute {

// Writes bytes into a new file beside file, then renames it over file, so a
// failure (a full disk) leaves file as it was and a reader never sees half of
// it. A link is written through: the file beside is made beside its target,
// which it replaces. A replaced file keeps its permissions. False, with nothing left beside file and the reason in
// error, when either step fails.
bool writeFileWhole(const std::filesystem::path& file, std::string_view bytes, std::string* error = nullptr);

void fillWholeFileEntry(HostFileTable& table);

}  // namespace substitute
