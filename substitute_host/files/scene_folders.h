// Folders browsed for scene files (the Bf table): every file below a folder,
// its subfolders included, whose name ends in ".json", and every folder there
// that could not be listed. Only reads the file system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "host/host_tables.h"

namespace substitute {

inline constexpr std::string_view sceneFileEnding = ".json";

struct ListedFile {
    int32_t kind = HOST_LISTED_SCENE_FILE;  // or HOST_LISTED_UNLISTABLE_FOLDER
    std::string relative;                   // '/' between names; "" for the listed folder
    std::filesystem::path path;
};

// What is below folder. Links are followed, to files and to folders, but a
// folder met again inside itself (through a link) is not listed twice. In
// byte order of the relative paths.
std::vector<ListedFile> listSceneFiles(const std::filesystem::path& folder);

void fillBrowseTable(HostBrowseTable& table);

}  // namespace substitute

struct HostFileList {
    // Each entry's path handle belongs to the list.
    std::vector<substitute::ListedFile> entries;
    std::vector<HostPath*> paths;
};
