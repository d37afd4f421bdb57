// Find Missing Plugins in Folder: the scene files below a folder in the byte
// order of their relative paths, each read as a hidden document, searched as
// Find Missing Plugins searches the active scene, listed under its path and
// freed before the next one is read, so that a run holds one document at a
// time and otherwise only its rows. The listing and its order are the
// folder runs' own, shared by every run over a folder.
#include <algorithm>

#include "host/documents.h"
#include "search_folder.h"

namespace {

// How many entries the host goes through between two looks at Escape.
constexpr int32_t listingStep = 256;

int32_t sceneFileCount(const host::Vector<FolderEntry>& entries) {
    int32_t count = 0;
    for (const FolderEntry& entry : entries) count += entry.kind == HOST_LISTED_SCENE_FILE ? 1 : 0;
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
    if (scene.document() == nullptr) return roomFor(store, 1) && addSceneFileRow(store, shown, path, texts.notRead);
    // The very search of Find Missing Plugins, its rows listed in found.
    SearchRequest request;
    request.action = Action::FindMissingInFolder;
    MissingPlugins missing;
    const SearchOutcome outcome = findMissingPlugins(scene.document(), request, missing, found);
    return !outcome.outOfMemory && roomFor(store, found.records.size()) && moveSceneFileRows(found, store, shown, path);
}

// The row that ends a list cut short, in the "Scene File" column: how many
// files were searched when the user stopped the run, else that the list is
// incomplete. Never fails: its room was made before.
void endCutShort(ResultStore& store, const FolderOutcome& outcome, const FolderTexts& texts) {
    host::String stopped;
    if (outcome.stopped && !outcome.listingStopped) {
        stopped = host::String("Stopped after ") + host::String::number(outcome.searched) + " of " +
                  host::String::number(outcome.files) + " scene files.";
    }
    const bool told = !stopped.empty() && !stopped.refused();
    addSceneFileRow(store, told ? stopped : texts.incomplete, host::String(), host::String());
}

}  // namespace

bool roomFor(ResultStore& store, int64_t rows) {
    const int64_t needed = int64_t(store.records.size()) + rows + 1;
    return needed <= INT32_MAX && store.records.reserve(int32_t(needed));
}

FolderListingEnd listFolder(host::SceneFileList& list, const FolderProgress& progress, bool& statusShown) {
    for (;;) {
        const int32_t answer = list.listMore(listingStep);
        if (answer == HOST_LISTING_DONE) return FolderListingEnd::Done;
        if (answer != HOST_LISTING_MORE) return FolderListingEnd::OutOfMemory;
        if (progress.stopRequested()) return FolderListingEnd::Stopped;
        statusShown = true;
        if (!progress.whileListing(list.count())) return FolderListingEnd::OutOfMemory;
    }
}

bool sortedEntries(const host::SceneFileList& list, host::Vector<FolderEntry>& entries) {
    const host::String folderEnd("/");
    const host::String listedFolder("./");
    if (folderEnd.refused() || listedFolder.refused() || !entries.reserve(list.count())) return false;
    for (int32_t i = 0; i < list.count(); ++i) {
        FolderEntry entry{list.relativePath(i), {}, i, list.kind(i)};
        if (entry.shown.refused()) return false;
        if (entry.kind == HOST_LISTED_UNLISTABLE_FOLDER) {
            // Where its files would be: before them, and "./" for the folder itself.
            const bool whole = entry.shown.empty();
            entry.shown = whole ? listedFolder : entry.shown + folderEnd;
            if (entry.shown.refused()) return false;
            entry.key = whole ? std::string_view() : entry.shown.view();
        } else {
            entry.key = entry.shown.view();
        }
        entries.push(std::move(entry));  // reserved
    }
    // string_view compares bytes as unsigned.
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.key < b.key; });
    return true;
}

FolderOutcome runOverFolder(const host::Path& folder, ResultStore& store, const FolderProgress& progress,
                            SceneFileWork work, void* context) {
    FolderOutcome outcome;
    clearResults(store);
    store.rowCounter = 0;
    const FolderTexts texts;
    if (!texts.made() || !roomFor(store, 0)) {
        outcome.outOfMemory = true;
        return outcome;
    }
    host::SceneFileList list(folder);
    bool statusShown = false;
    FolderListingEnd listed = list.valid() ? listFolder(list, progress, statusShown) : FolderListingEnd::OutOfMemory;
    host::Vector<FolderEntry> entries;
    if (listed == FolderListingEnd::Done && !sortedEntries(list, entries)) listed = FolderListingEnd::OutOfMemory;
    if (listed != FolderListingEnd::Done) {
        outcome.outOfMemory = listed == FolderListingEnd::OutOfMemory;
        outcome.stopped = outcome.listingStopped = listed == FolderListingEnd::Stopped;
        if (statusShown) progress.finished();
        endCutShort(store, outcome, texts);
        return outcome;
    }
    outcome.files = sceneFileCount(entries);
    // Every file's search lists into found first, so that a file cut short
    // adds no row to store; its capacity serves every file.
    ResultStore found;
    for (const FolderEntry& entry : entries) {
        if (entry.kind == HOST_LISTED_UNLISTABLE_FOLDER) {
            // A folder not listed may hide scene files: the list says so where they would be.
            if (!roomFor(store, 1) || !addSceneFileRow(store, entry.shown, host::String(), texts.notListed)) {
                outcome.outOfMemory = true;
            }
        } else if (entry.kind != HOST_LISTED_SCENE_FILE) {
            continue;
        } else if (outcome.searched > 0 && progress.stopRequested()) {
            outcome.stopped = true;
        } else if (!progress.beforeFile(entry.shown, outcome.searched + 1, outcome.files) ||
                   !work(context, list.path(entry.index), entry.shown, texts, found, store)) {
            outcome.outOfMemory = true;
        } else {
            ++outcome.searched;
        }
        if (outcome.outOfMemory || outcome.stopped) break;
    }
    clearResults(found);
    if (statusShown || outcome.files > 0) progress.finished();
    if (outcome.outOfMemory || outcome.stopped) {
        endCutShort(store, outcome, texts);
    } else if (entries.empty()) {
        addSceneFileRow(store, texts.noSceneFiles, host::String(), host::String());  // room made
    }
    return outcome;
}

FolderOutcome findMissingInFolder(const host::Path& folder, ResultStore& store, const FolderProgress& progress) {
    return runOverFolder(folder, store, progress, searchSceneFile, nullptr);
}
