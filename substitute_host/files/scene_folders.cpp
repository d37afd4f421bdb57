#include "files/scene_folders.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "core/fault.h"
#include "core/substitute_host.h"
#include "kernel/host_paths.h"
#include "kernel/host_strings.h"

namespace substitute {
namespace {
namespace fs = std::filesystem;

bool namesSceneFile(const std::string& name) {
    return name.size() >= sceneFileEnding.size() &&
           name.compare(name.size() - sceneFileEnding.size(), sceneFileEnding.size(), sceneFileEnding) == 0;
}

// What an entry of a folder turned out to be, links followed.
enum class Kind : uint8_t {
    File,        // anything but a folder
    Folder,      // a folder, with its identity
    Gone,        // a link to nothing, or round itself
    Unexamined,  // could not be looked at (no search permission, a path too long, ...)
};

#ifdef _WIN32
// The folder's own path, links resolved: where the system tells no device
// and inode through the standard library, the nearest to the real folder.
using FolderId = std::string;

// A folder being read.
struct OpenFolder {
    fs::directory_iterator entry;
    bool started = false;
};

std::string utf8(const fs::path& name) {
    const std::u8string text = name.u8string();
    return std::string(text.begin(), text.end());
}

fs::path nameAsPath(const std::string& name) { return fs::path(std::u8string(name.begin(), name.end())); }

bool openFolder(const OpenFolder*, const std::string&, const fs::path& path, OpenFolder& opened, FolderId& id) {
    std::error_code error;
    opened.entry = fs::directory_iterator(path, error);
    if (error) return false;
    const fs::path real = fs::canonical(path, error);
    id = utf8(error ? path : real);
    return true;
}

void closeFolder(OpenFolder& folder) { folder.entry = fs::directory_iterator(); }

// The next name, or false at the end; failed when the folder could not be read to its end.
bool nextName(OpenFolder& folder, std::string& name, bool& failed) {
    std::error_code error;
    if (folder.started) folder.entry.increment(error);
    folder.started = true;
    if (error) failed = true;
    if (error || folder.entry == fs::directory_iterator()) return false;
    name = utf8(folder.entry->path().filename());
    return true;
}

Kind examine(const OpenFolder&, const fs::path& path, const std::string&, FolderId& id) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) return Kind::Gone;
    if (error) return Kind::Unexamined;
    if (!fs::is_directory(status)) return Kind::File;
    const fs::path real = fs::canonical(path, error);
    id = utf8(error ? path : real);
    return Kind::Folder;
}
#else
using FolderId = std::pair<dev_t, ino_t>;

struct OpenFolder {
    DIR* dir = nullptr;
};

fs::path nameAsPath(const std::string& name) { return fs::path(name); }

// A subfolder is opened from the folder holding it, so its own path may be
// longer than the system takes.
bool openFolder(const OpenFolder* parent, const std::string& name, const fs::path& path, OpenFolder& opened,
                FolderId& id) {
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    const int fd = parent ? openat(dirfd(parent->dir), name.c_str(), flags) : open(path.c_str(), flags);
    struct stat status;
    if (fd < 0) return false;
    if (fstat(fd, &status) != 0 || (opened.dir = fdopendir(fd)) == nullptr) {
        close(fd);
        return false;
    }
    id = {status.st_dev, status.st_ino};
    return true;
}

void closeFolder(OpenFolder& folder) {
    if (folder.dir) closedir(folder.dir);
    folder.dir = nullptr;
}

bool nextName(OpenFolder& folder, std::string& name, bool& failed) {
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(folder.dir);
        if (entry == nullptr) {
            failed = errno != 0;
            return false;
        }
        name = entry->d_name;
        if (name != "." && name != "..") return true;
    }
}

Kind examine(const OpenFolder& folder, const fs::path&, const std::string& name, FolderId& id) {
    struct stat status;
    if (fstatat(dirfd(folder.dir), name.c_str(), &status, 0) != 0) {
        return errno == ENOENT || errno == ELOOP ? Kind::Gone : Kind::Unexamined;
    }
    if (!S_ISDIR(status.st_mode)) return Kind::File;
    id = {status.st_dev, status.st_ino};
    return Kind::Folder;
}
#endif

struct Entry {
    std::string name;
    Kind kind = Kind::File;
    FolderId id{};
};

// Listed as a folder: a folder, or what may be one.
bool listedAsFolder(const Entry& entry) {
    return entry.kind == Kind::Folder || (entry.kind == Kind::Unexamined && !namesSceneFile(entry.name));
}

// The byte order of the paths below: a folder's name is compared with the
// '/' that follows it in the paths of its entries.
bool before(const Entry& a, const Entry& b) {
    const std::string_view x = a.name, y = b.name;
    const size_t common = std::min(x.size(), y.size());
    const int compared = x.substr(0, common).compare(y.substr(0, common));
    if (compared != 0) return compared < 0;
    const auto next = [&](std::string_view name, const Entry& entry) {
        return name.size() > common ? int(static_cast<unsigned char>(name[common])) : listedAsFolder(entry) ? '/' : -1;
    };
    return next(x, a) < next(y, b);
}

HostFileList& fileList(const char* operation, const HostFileList* list) {
    SubstituteHost::current().handles.check(operation, list, HandleKind::FileList);
    return *const_cast<HostFileList*>(list);
}

const ListedFile& listed(const char* operation, const HostFileList* list, int32_t index) {
    HostFileList& checked = fileList(operation, list);
    if (index < 0 || size_t(index) >= checked.entries.size()) {
        fault(operation,
              "index " + std::to_string(index) + " outside 0.." + std::to_string(int64_t(checked.entries.size()) - 1));
    }
    return checked.entries[size_t(index)];
}
}  // namespace

// A folder being listed: read whole first, then gone through in order.
struct FolderListing::Frame {
    OpenFolder folder;
    bool opened = false;
    fs::path path;
    std::string relative;
    std::vector<Entry> entries;
    size_t next = 0;
    bool read = false;
};

struct FolderListing::Seen {
    std::set<FolderId> folders;
};

FolderListing::FolderListing(const fs::path& folder) : seen_(std::make_unique<Seen>()) {
    Frame root;
    root.path = folder;
    FolderId id{};
    root.opened = openFolder(nullptr, "", folder, root.folder, id);
    if (root.opened) seen_->folders.insert(id);
    frames_.push_back(std::move(root));
}

FolderListing::~FolderListing() {
    for (Frame& frame : frames_) closeFolder(frame.folder);
}

bool FolderListing::listMore(int64_t budget, std::vector<ListedFile>& found) {
    while (budget > 0 && !frames_.empty()) {
        Frame& top = frames_.back();
        if (!top.opened) {
            // A folder not listed may hide scene files: it says so.
            found.push_back({HOST_LISTED_UNLISTABLE_FOLDER, top.relative, top.path});
            frames_.pop_back();
            continue;
        }
        --budget;
        if (!top.read) {
            Entry entry;
            bool failed = false;
            if (nextName(top.folder, entry.name, failed)) {
                entry.kind = examine(top.folder, top.path / nameAsPath(entry.name), entry.name, entry.id);
                top.entries.push_back(std::move(entry));
                continue;
            }
            // Not read to its end: it says so, and what was read is listed.
            if (failed) found.push_back({HOST_LISTED_UNLISTABLE_FOLDER, top.relative, top.path});
            std::sort(top.entries.begin(), top.entries.end(), before);
            top.read = true;
            continue;
        }
        if (top.next == top.entries.size()) {
            closeFolder(top.folder);
            frames_.pop_back();
            continue;
        }
        const Entry& entry = top.entries[top.next++];
        std::string relative = top.relative.empty() ? entry.name : top.relative + "/" + entry.name;
        fs::path path = top.path / nameAsPath(entry.name);
        if (entry.kind == Kind::Folder) {
            // Listed once, under the first path met.
            if (!seen_->folders.insert(entry.id).second) continue;
            Frame below;
            FolderId id{};
            below.opened = openFolder(&top.folder, entry.name, path, below.folder, id);
            below.path = std::move(path);
            below.relative = std::move(relative);
            frames_.push_back(std::move(below));  // top is gone from here on
        } else if (listedAsFolder(entry)) {
            found.push_back({HOST_LISTED_UNLISTABLE_FOLDER, std::move(relative), std::move(path)});
        } else if (namesSceneFile(entry.name)) {
            // A link to nothing, a pipe, an unreadable file: a scene file that will not load.
            found.push_back({HOST_LISTED_SCENE_FILE, std::move(relative), std::move(path)});
        }
    }
    return !frames_.empty();
}

std::vector<ListedFile> listSceneFiles(const fs::path& folder) {
    std::vector<ListedFile> found;
    FolderListing listing(folder);
    while (listing.listMore(INT64_MAX, found)) {
    }
    std::sort(found.begin(), found.end(),
              [](const ListedFile& a, const ListedFile& b) { return a.relative < b.relative; });
    return found;
}

void fillBrowseTable(HostBrowseTable& table) {
    table.beginSceneFiles = [](const HostPath* folder) -> HostFileList* {
        const fs::path& path = pathOf(folder, "Bf.beginSceneFiles");
        SubstituteHost& host = SubstituteHost::current();
        if (!host.services.objectCreationAllowed()) return nullptr;
        auto* list = new HostFileList;
        list->listing = std::make_unique<FolderListing>(path);
        host.handles.add(list, HandleKind::FileList);
        return list;
    };
    table.listMore = [](HostFileList* list, int32_t budget) -> int32_t {
        HostFileList& checked = fileList("Bf.listMore", list);
        if (budget <= 0) fault("Bf.listMore", "budget " + std::to_string(budget) + " is not positive");
        if (!checked.listing) fault("Bf.listMore", "the listing already ended");
        std::vector<ListedFile> found;
        const bool more = checked.listing->listMore(budget, found);
        // In no stated order, the table says: here each step's entries in
        // reverse, so that a module which does not sort is seen not to.
        for (auto entry = found.rbegin(); entry != found.rend(); ++entry) {
            // Each entry's path is a host object.
            if (!SubstituteHost::current().services.objectCreationAllowed()) {
                checked.listing.reset();
                return HOST_LISTING_OUT_OF_MEMORY;
            }
            checked.paths.push_back(makePath(entry->path));
            checked.entries.push_back(std::move(*entry));
        }
        if (!more) checked.listing.reset();
        return more ? HOST_LISTING_MORE : HOST_LISTING_DONE;
    };
    table.free = [](HostFileList* list) {
        HostFileList& checked = fileList("Bf.free", list);
        for (HostPath* path : checked.paths) deletePath(path);
        SubstituteHost::current().handles.remove(list);
        delete list;
    };
    table.count = [](const HostFileList* list) { return int32_t(fileList("Bf.count", list).entries.size()); };
    table.kind = [](const HostFileList* list, int32_t index) { return listed("Bf.kind", list, index).kind; };
    table.relativePath = [](const HostFileList* list, int32_t index) {
        return newModuleString(listed("Bf.relativePath", list, index).relative);
    };
    table.path = [](const HostFileList* list, int32_t index) -> const HostPath* {
        listed("Bf.path", list, index);
        return list->paths[size_t(index)];
    };
}

}  // namespace substitute
