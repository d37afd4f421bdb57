#include "files/scene_folders.h"

#include <algorithm>

#include "core/fault.h"
#include "core/substitute_host.h"
#include "kernel/host_paths.h"
#include "kernel/host_strings.h"

namespace substitute {
namespace {
namespace fs = std::filesystem;

std::string utf8(const fs::path& name) {
    const std::u8string text = name.u8string();
    return std::string(text.begin(), text.end());
}

bool namesSceneFile(const std::string& name) {
    return name.size() >= sceneFileEnding.size() &&
           name.compare(name.size() - sceneFileEnding.size(), sceneFileEnding.size(), sceneFileEnding) == 0;
}

// Lists folder (at relative below the first) into found. ancestors: the
// folders being listed around it, so that a link back to one of them ends
// there instead of going round for ever.
void listFolder(const fs::path& folder, const std::string& relative, std::vector<fs::path>& ancestors,
                std::vector<ListedFile>& found) {
    std::error_code error;
    fs::directory_iterator entry(folder, error);
    const fs::directory_iterator end;
    for (; !error && entry != end; entry.increment(error)) {
        const std::string name = utf8(entry->path().filename());
        const std::string below = relative.empty() ? name : relative + "/" + name;
        std::error_code statusError;
        const fs::file_status status = entry->status(statusError);  // through links
        if (!statusError && fs::is_directory(status)) {
            const bool seen = std::any_of(ancestors.begin(), ancestors.end(), [&](const fs::path& around) {
                std::error_code same;
                return fs::equivalent(around, entry->path(), same);
            });
            if (seen) continue;
            ancestors.push_back(entry->path());
            listFolder(entry->path(), below, ancestors, found);
            ancestors.pop_back();
        } else if (namesSceneFile(name)) {
            // A link to nothing, a pipe, an unreadable file: a scene file that will not load.
            found.push_back({HOST_LISTED_SCENE_FILE, below, entry->path()});
        }
    }
    // A folder not listed to its end may hide scene files: it says so.
    if (error) found.push_back({HOST_LISTED_UNLISTABLE_FOLDER, relative, folder});
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

std::vector<ListedFile> listSceneFiles(const fs::path& folder) {
    std::vector<ListedFile> found;
    std::vector<fs::path> ancestors{folder};
    listFolder(folder, "", ancestors, found);
    std::sort(found.begin(), found.end(),
              [](const ListedFile& a, const ListedFile& b) { return a.relative < b.relative; });
    return found;
}

void fillBrowseTable(HostBrowseTable& table) {
    table.sceneFiles = [](const HostPath* folder) -> HostFileList* {
        const fs::path& path = pathOf(folder, "Bf.sceneFiles");
        SubstituteHost& host = SubstituteHost::current();
        if (!host.services.objectCreationAllowed()) return nullptr;
        auto* list = new HostFileList;
        list->entries = listSceneFiles(path);
        // In no stated order, the table says: here the reverse of the order
        // the module shows them in, so that a module which does not sort is seen not to.
        std::reverse(list->entries.begin(), list->entries.end());
        for (const ListedFile& entry : list->entries) list->paths.push_back(makePath(entry.path));
        host.handles.add(list, HandleKind::FileList);
        return list;
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
