#include "files/copy_files.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <process.h>
#include <windows.h>
#define getpid _getpid
#else
#include <unistd.h>

#include <cerrno>
#endif

#include <cstdio>
#include <string>

#include "core/fault.h"
#include "core/substitute_host.h"
#include "kernel/host_paths.h"

namespace substitute {
namespace {
namespace fs = std::filesystem;

bool somethingAt(const fs::path& path) {
    std::error_code problem;
    const fs::file_type type = fs::symlink_status(path, problem).type();
    return type != fs::file_type::not_found && type != fs::file_type::none;
}

// Writes bytes into temporary, which must not exist yet ("x": a file of that
// name is never written into); false with nothing of ours left there.
bool writeTemporary(const fs::path& temporary, std::string_view bytes) {
#ifdef _WIN32
    // The wide name: a narrow one would be read in the system's code page, not as UTF-8.
    std::FILE* out = _wfopen(temporary.c_str(), L"wbx");
#else
    std::FILE* out = std::fopen(temporary.c_str(), "wbx");
#endif
    if (out == nullptr) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    written = std::fflush(out) == 0 && written;
    written = std::fclose(out) == 0 && written;
    std::error_code ignored;
    if (!written) fs::remove(temporary, ignored);
    return written;
}

// Gives temporary the name file unless something has it; temporary is gone
// afterwards either way.
NewFile publish(const fs::path& temporary, const fs::path& file) {
#ifdef _WIN32
    // Without MOVEFILE_REPLACE_EXISTING the move fails when file exists.
    if (MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_WRITE_THROUGH)) return NewFile::Written;
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? NewFile::Exists : NewFile::Failed;
#else
    // A hard link is made only where no name is: rename would replace.
    const bool linked = ::link(temporary.c_str(), file.c_str()) == 0;
    const int error = errno;
    ::unlink(temporary.c_str());
    return linked ? NewFile::Written : error == EEXIST ? NewFile::Exists : NewFile::Failed;
#endif
}

const fs::path& usablePath(const HostPath* path, const char* operation) {
    const fs::path& checked = pathOf(path, operation);
    if (checked.empty()) fault(operation, "the path is empty");
    return checked;
}

}  // namespace

NewFile writeNewFile(const fs::path& file, std::string_view bytes) {
    if (somethingAt(file)) return NewFile::Exists;
    fs::path temporary = file;
    temporary += ".saving-" + std::to_string(getpid());
    return writeTemporary(temporary, bytes) ? publish(temporary, file) : NewFile::Failed;
}

void fillCopyFileEntries(HostFileTable& table) {
    table.makeFolders = [](const HostPath* folder) {
        const fs::path& path = usablePath(folder, "Fi.makeFolders");
        if (!SubstituteHost::current().services.folderCreationAllowed()) return false;
        std::error_code problem;
        fs::create_directories(path, problem);
        return fs::is_directory(path, problem);
    };
    table.exists = [](const HostPath* path) { return somethingAt(usablePath(path, "Fi.exists")); };
    table.remove = [](const HostPath* path) {
        const fs::path& checked = usablePath(path, "Fi.remove");
        if (!SubstituteHost::current().services.removalAllowed()) return false;
        std::error_code problem;
        return fs::remove(checked, problem) && !problem;
    };
}

}  // namespace substitute
