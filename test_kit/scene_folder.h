// Folders of scene files on disk, for the folder runs of the tests, the
// validator and the benchmarks: a temporary folder that goes with its
// object, filled file by file, and what every entry below a folder holds, to
// tell that a run changed nothing on disk.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace kit {

// A new empty folder under the system's temporary folder (or under the one a
// TemporaryFolderHome names), named after label and unique to this process;
// removed with everything below it (made writable and listable again first)
// when the object goes.
class TemporaryFolder {
public:
    explicit TemporaryFolder(std::string_view label);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes text to relative (folders made as needed); its full path.
    std::filesystem::path write(const std::filesystem::path& relative, std::string_view text) const;

private:
    std::filesystem::path path_;
};

// While it lives, temporary folders are made below folder, in this process
// and in the processes it starts: a process that dies (a check of a module
// that faults) cannot remove its own, and whoever removes folder removes them.
class TemporaryFolderHome {
public:
    explicit TemporaryFolderHome(const std::filesystem::path& folder);
    ~TemporaryFolderHome();
    TemporaryFolderHome(const TemporaryFolderHome&) = delete;
    TemporaryFolderHome& operator=(const TemporaryFolderHome&) = delete;
};

// Every entry below folder (links not followed) by its path relative to
// folder: its kind, permissions, modification time and, for a file, its
// bytes; for a link, where it points. Entries that cannot be read are
// described as far as they can be.
std::map<std::string, std::string> folderState(const std::filesystem::path& folder);

}  // namespace kit
