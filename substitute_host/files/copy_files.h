// The files and folders the module makes for its copies and takes back: a
// file written new (never over anything), folders made with the folders above
// them, whether anything is at a path, and removing a file or an empty folder
// (the Fi table's makeFolders, exists and remove).
#pragma once

#include <filesystem>
#include <string_view>

#include "host/host_tables.h"

namespace substitute {

enum class NewFile { Written, Exists, Failed };

// Writes bytes into a new file beside file, then gives it file's name in one
// step that fails when anything has that name already. Nothing is left
// beside file, whatever the answer; Exists when something was at file.
NewFile writeNewFile(const std::filesystem::path& file, std::string_view bytes);

void fillCopyFileEntries(HostFileTable& table);

}  // namespace substitute
