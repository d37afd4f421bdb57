#include "files/whole_files.h"

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/fault.h"
#include "core/substitute_host.h"
#include "kernel/host_paths.h"

namespace substitute {

namespace {
namespace fs = std::filesystem;

// Where a link leads, link after link (a link to nothing: where it points);
// file itself when it is no link. A loop of links ends where it started.
fs::path throughLinks(const fs::path& file) {
    fs::path at = file;
    for (int links = 0; links < 40; ++links) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(at, error)) || error) return at;
        const fs::path target = fs::read_symlink(at, error);
        if (error) return at;
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    return at;
}
}  // namespace

bool writeFileWhole(const std::filesystem::path& file, std::string_view bytes, std::string* error) {
    // Through a link, its target is replaced: the link stays what the user made.
    const fs::path target = throughLinks(file);
    fs::path temporary = target;
    temporary += ".saving-" + std::to_string(getpid());
#ifdef _WIN32
    // The wide name: a narrow one would be read in the system's code page, not as UTF-8.
    std::FILE* out = _wfopen(temporary.c_str(), L"wb");
#else
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
#endif
    bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    written = out && std::fflush(out) == 0 && written;
    if (out && std::fclose(out) != 0) written = false;
    std::error_code problem;
    // The replaced file's permissions stay (a new file gets the usual ones).
    const fs::file_status replaced = fs::status(target, problem);
    if (written && !problem && fs::is_regular_file(replaced))
        fs::permissions(temporary, replaced.permissions(), problem);
    problem.clear();
    if (written) fs::rename(temporary, target, problem);
    if (written && !problem) return true;
    const std::string reason = problem ? problem.message() : std::strerror(errno);
    fs::remove(temporary, problem);
    if (error) *error = "cannot write " + file.string() + ": " + reason;
    return false;
}

void fillWholeFileEntry(HostFileTable& table) {
    table.writeWhole = [](const HostPath* file, const void* bytes, int64_t length) {
        const std::filesystem::path& path = pathOf(file, "Fi.writeWhole");
        if (length < 0 || (bytes == nullptr && length > 0)) fault("Fi.writeWhole", "no bytes of that length");
        const bool written = writeFileWhole(path, {static_cast<const char*>(bytes), size_t(length)});
        if (written) SubstituteHost::current().ui.writtenFiles.push_back(path);
        return written;
    };
}

}  // namespace substitute
