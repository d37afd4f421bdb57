// Find Missing Plugins in Folder: the scene files below a folder in the byte
// order of their relative paths, each read as a hidden document, searched as
// Find Missing Plugins searches the active scene, listed under its path and
// freed before the next one is read, so that a run holds one document at a
// time and otherwise only its rows.
#include <algorithm>

#include "host/documents.h"
#include "host/files.h"
#include "search_folder.h"

namespace {

// One entry of the host's list and the path it is shown under; shown stays
// valid while relativePath holds its text.
struct FolderEntry {
    host::String relativePath;
    std::string_view shown;
    int32_t index = 0;
};

// The entries in the byte order of their relative paths (string_view
// compares bytes as unsigned); false when out of memory.
bool sortedEntries(const host::SceneFileList& list, host::Vector<FolderEntry>& entries) {
    if (!entries.reserve(list.count())) return false;
    for (int32_t i = 0; i < list.count(); ++i) {
        FolderEntry entry{list.relativePath(i), {}, i};
        if (entry.relativePath.refused()) return false;
        entry.shown = entry.relativePath.view();
        entries.push(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.shown < b.shown; });
    return true;
}

int32_t sceneFileCount(const host::SceneFileList& list) {
    int32_t count = 0;
    for (int32_t i = 0; i < list.count(); ++i) count += list.kind(i) == HOST_LISTED_SCENE_FILE ? 1 : 0;
    return count;
}

// What one scene file adds to store: its missing plug-ins' rows, "No missing
// plugins found." or "Could not open this file.". False when out of memory,
// with store as it was.
bool searchSceneFile(void*, const HostPath* file, const host::String& shown, const FolderTexts& texts,
                     ResultStore& found, ResultStore& store) {
    const host::String path = host::pathText(file);
    if (path.refused()) return false;
    host::HiddenDocument scene(file);
    if (scene.outOfMemory()) return false;
    if (scene.document() == nullptr) return addSceneFileRow(store, shown, path, texts.notRead);
    // The very search of Find Missing Plugins, its rows listed in found.
    SearchRequest request;
    request.action = Action::FindMissingInFolder;
    MissingPlugins missing;
    const SearchOutcome outcome = findMissingPlugins(scene.document(), request, missing, found);
    return !outcome.outOfMemory && moveSceneFileRows(found, store, shown, path);
}

}  // namespace

FolderOutcome runOverFolder(const host::Path& folder, ResultStore& store, const FolderProgress& progress,
                            SceneFileWork work, void* context) {
    FolderOutcome outcome;
    clearResults(store);
    store.rowCounter = 0;
    const FolderTexts texts;
    const host::SceneFileList list(folder);
    host::Vector<FolderEntry> entries;
    if (!texts.made() || !list.valid() || !sortedEntries(list, entries)) {
        outcome.outOfMemory = true;
        return outcome;
    }
    outcome.files = sceneFileCount(list);
    // Every file's search lists into found first, so that a file cut short
    // adds no row to store; its capacity serves every file.
    ResultStore found;
    for (const FolderEntry& entry : entries) {
        const int32_t kind = list.kind(entry.index);
        if (kind == HOST_LISTED_UNLISTABLE_FOLDER) {
            // A folder not listed may hide scene files: the list says so where they would be.
            const host::String shown = entry.shown.empty() ? texts.listedFolder : entry.relativePath + texts.folderEnd;
            if (!addSceneFileRow(store, shown, host::String(), texts.notListed)) outcome.outOfMemory = true;
        } else if (kind != HOST_LISTED_SCENE_FILE) {
            continue;
        } else if (outcome.searched > 0 && progress.stopRequested()) {
            outcome.stopped = true;
        } else if (!progress.beforeFile(entry.relativePath, outcome.searched + 1, outcome.files) ||
                   !work(context, list.path(entry.index), entry.relativePath, texts, found, store)) {
            outcome.outOfMemory = true;
        } else {
            ++outcome.searched;
        }
        if (outcome.outOfMemory || outcome.stopped) break;
    }
    clearResults(found);
    if (outcome.files > 0) progress.finished();
    if (!outcome.outOfMemory && !outcome.stopped && entries.empty() &&
        !addSceneFileRow(store, texts.noSceneFiles, host::String(), host::String())) {
        outcome.outOfMemory = true;
    }
    return outcome;
}

FolderOutcome findMissingInFolder(const host::Path& folder, ResultStore& store, const FolderProgress& progress) {
    return runOverFolder(folder, store, progress, searchSceneFile, nullptr);
}
