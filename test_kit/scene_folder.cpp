#include "scene_folder.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "read_file.h"

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace kit {
namespace fs = std::filesystem;

namespace {
constexpr const char* homeVariable = "CLEARTRACE_TEMPORARY_FOLDERS";

fs::path home() {
    const char* set = std::getenv(homeVariable);
    return set != nullptr && *set != '\0' ? fs::path(set) : fs::temp_directory_path();
}

void setHome(const std::string& folder) {
#ifdef _WIN32
    _putenv_s(homeVariable, folder.c_str());
#else
    if (folder.empty()) {
        unsetenv(homeVariable);
    } else {
        setenv(homeVariable, folder.c_str(), 1);
    }
#endif
}
}  // namespace

TemporaryFolderHome::TemporaryFolderHome(const fs::path& folder) { setHome(folder.string()); }

TemporaryFolderHome::~TemporaryFolderHome() { setHome(""); }

TemporaryFolder::TemporaryFolder(std::string_view label) {
    static std::atomic<int> made{0};
    path_ =
        home() / ("cleartrace-" + std::string(label) + "-" + std::to_string(getpid()) + "-" + std::to_string(made++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code error;
    // A folder a test made unlistable could not be emptied otherwise, nor a
    // read-only file removed on Windows: each entry gets its owner's rights
    // back, a folder before the walk goes into it.
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
    for (auto entry = fs::recursive_directory_iterator(path_, error);
         !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        std::error_code problem;
        if (!fs::is_symlink(entry->symlink_status(problem))) {
            fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, problem);
        }
    }
    fs::remove_all(path_, error);
}

fs::path TemporaryFolder::write(const fs::path& relative, std::string_view text) const {
    const fs::path file = path_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return file;
}

std::map<std::string, std::string> folderState(const fs::path& folder) {
    std::map<std::string, std::string> state;
    std::error_code error;
    const auto options = fs::directory_options::skip_permission_denied;
    for (auto entry = fs::recursive_directory_iterator(folder, options, error);
         !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        std::error_code problem;
        const fs::file_status status = entry->symlink_status(problem);
        std::string described = "permissions " + std::to_string(int(status.permissions()));
        const auto written = fs::last_write_time(entry->path(), problem);
        if (fs::is_symlink(status)) {
            described += ", link to " + fs::read_symlink(entry->path(), problem).string();
        } else {
            if (!problem) described += ", written " + std::to_string(written.time_since_epoch().count());
            if (fs::is_regular_file(status)) described += ", bytes " + readFile(entry->path());
            if (fs::is_directory(status)) described += ", folder";
        }
        state[fs::relative(entry->path(), folder).generic_string()] = described;
    }
    return state;
}

}  // namespace kit
