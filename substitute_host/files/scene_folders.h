// Folders browsed for scene files (the Bf table): every file below a folder,
// its subfolders included, whose name ends in ".json", and every folder there
// that could not be listed. A listing goes step by step, so that a caller can
// stop it between steps. Only reads the file system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
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

// A listing in progress. It goes through the folders depth first, the
// entries of each in the byte order of their names (a folder's name with '/'
// after it), that is in the byte order of the relative paths. Links are
// followed, to files and to folders, but each real folder is listed once,
// under the first path met: a folder met again (through a link, round a
// loop) is left out. Folders are reached from the folder holding them, so a
// path longer than the system takes for a name is still listed. An entry
// that cannot be examined is listed as a scene file when it is named like one
// and as a folder that could not be listed otherwise (it may be one).
class FolderListing {
public:
    explicit FolderListing(const std::filesystem::path& folder);
    ~FolderListing();
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    // Examines up to budget more entries, appending what they are to found;
    // false once the listing is done.
    bool listMore(int64_t budget, std::vector<ListedFile>& found);

    struct Frame;

private:
    std::vector<Frame> frames_;
    struct Seen;
    std::unique_ptr<Seen> seen_;
};

// The whole listing of folder, in byte order of the relative paths.
std::vector<ListedFile> listSceneFiles(const std::filesystem::path& folder);

void fillBrowseTable(HostBrowseTable& table);

}  // namespace substitute

struct HostFileList {
    std::unique_ptr<substitute::FolderListing> listing;  // null once done or out of memory
    // Each entry's path handle belongs to the list.
    std::vector<substitute::ListedFile> entries;
    std::vector<HostPath*> paths;
};
