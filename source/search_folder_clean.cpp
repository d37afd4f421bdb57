// Remove Missing Plugins in Folder: each scene file below a folder read as a
// hidden document, its missing plug-ins removed as Remove Missing Plugins
// removes them from the active scene, saved as a new file below another
// folder and read back to verify. No original is ever written, and the
// destination gets nothing but whole, verified copies and their folders: a
// copy that fails, or a file cut short, takes back its file and the folders
// made for it.
#include <algorithm>

#include "host/documents.h"
#include "host/folders.h"
#include "search_folder.h"

namespace {

// The "Cleaned Copy" texts and the row of a file without missing plug-ins,
// made before the first file is read.
struct CleanTexts {
    host::String nothingToRemove{"Nothing to remove."};
    host::String exists{"Not written: a file is already there."};
    host::String notWritten{"Could not write this file."};
    host::String notVerified{"The cleaned copy did not verify."};

    bool made() const {
        return !nothingToRemove.refused() && !exists.refused() && !notWritten.refused() && !notVerified.refused();
    }
};

struct CleanRun {
    const host::Path& destination;
    SearchRequest request;
    CleanTexts texts;
    // The rows of what a removal leaves and of a verifying search: not shown.
    ResultStore scratch;
};

enum class Copy : uint8_t { Written, Exists, NotWritten, NotVerified, OutOfMemory };

// destination joined with each '/'-separated name of relative; invalid when
// out of memory.
host::Path copyPathOf(const host::Path& destination, std::string_view relative) {
    // A copy of no path would be an empty one, not an invalid one.
    if (!destination.valid()) return host::Path::adopt(nullptr);
    host::Path path(destination);
    for (size_t start = 0; path.valid() && start <= relative.size();) {
        const size_t end = std::min(relative.find('/', start), relative.size());
        const host::String name(relative.substr(start, end - start));
        host::Path next = name.refused() ? host::Path::adopt(nullptr) : path.join(name);
        if (!next.valid()) return next;
        path = next;
        start = end + 1;
    }
    return path;
}

// The folders a copy needed that were not there, deepest first: taken back
// when the copy is.
struct MadeFolders {
    host::Vector<host::Path> folders;

    // Makes the folder of file below destination; NotWritten when the host
    // could not, Written when it is there.
    Copy make(const host::Path& file, const host::Path& destination) {
        const host::Path folder = file.directory();
        if (!folder.valid()) return Copy::OutOfMemory;
        host::Path place(folder);
        while (place.valid() && !(place == destination) && !host::exists(place)) {
            if (!folders.push(place)) return Copy::OutOfMemory;
            host::Path parent = place.directory();
            if (!parent.valid()) return takeBack(Copy::OutOfMemory);
            if (parent.empty() || parent == place) break;
            place = parent;
        }
        if (!place.valid()) return takeBack(Copy::OutOfMemory);
        return host::makeFolders(folder) ? Copy::Written : takeBack(Copy::NotWritten);
    }
    // Removes the folders made, each if it is (still) empty; answers why.
    Copy takeBack(Copy why) {
        for (const host::Path& folder : folders) host::remove(folder);
        return why;
    }
};

// Whether two searches met the same elements and missing plug-ins.
bool sameFindings(const MissingPlugins& a, const MissingPlugins& b) {
    for (int32_t type = 0; type < pluginTypeCount; ++type) {
        if (a.met[type] != b.met[type] || a.found[type].size() != b.found[type].size()) return false;
        for (int32_t i = 0; i < a.found[type].size(); ++i) {
            const MissingPlugin& plugin = a.found[type][i];
            const MissingPlugin& again = b.found[type][i];
            if (plugin.pluginId != again.pluginId || plugin.instances != again.instances) return false;
        }
    }
    return true;
}

// The search of Find Missing Plugins in Folder over document, into findings.
bool searched(host::Document* document, MissingPlugins& findings, ResultStore& scratch) {
    SearchRequest request;
    request.action = Action::FindMissingInFolder;
    const bool complete = !findMissingPlugins(document, request, findings, scratch).outOfMemory;
    clearResults(scratch);
    return complete;
}

// Reads copy back: it must load and hold what the cleaned document held
// (left), no missing plug-in more and no element less.
Copy verified(const host::Path& copy, const MissingPlugins& left, ResultStore& scratch) {
    host::HiddenDocument back(copy.handle());
    if (back.outOfMemory()) return Copy::OutOfMemory;
    if (back.document() == nullptr) return Copy::NotVerified;
    MissingPlugins again;
    if (!searched(back.document(), again, scratch)) return Copy::OutOfMemory;
    return sameFindings(left, again) ? Copy::Written : Copy::NotVerified;
}

// Saves the cleaned scene (freed once saved) as copy, never over a file, and
// verifies it; a copy that is not Written leaves nothing behind.
Copy writeVerifiedCopy(CleanRun& run, host::HiddenDocument& scene, const host::Path& copy) {
    MissingPlugins left;
    if (!searched(scene.document(), left, run.scratch)) return Copy::OutOfMemory;
    MadeFolders made;
    const Copy folder = made.make(copy, run.destination);
    if (folder != Copy::Written) return folder;
    const host::Saved saved = host::saveDocument(scene.document(), copy);
    scene.free();  // one hidden document at a time
    if (saved == host::Saved::Exists) return made.takeBack(Copy::Exists);
    if (saved != host::Saved::Written) return made.takeBack(Copy::NotWritten);
    const Copy verdict = verified(copy, left, run.scratch);
    if (verdict == Copy::Written) return verdict;
    host::remove(copy);
    return made.takeBack(verdict);
}

const host::String& copyText(const CleanRun& run, Copy copy, const host::String& relativePath) {
    switch (copy) {
        case Copy::Written: return relativePath;
        case Copy::Exists: return run.texts.exists;
        case Copy::NotVerified: return run.texts.notVerified;
        default: return run.texts.notWritten;
    }
}

// One scene file's clean: its rows in store, each saying what became of the
// copy. False when out of memory, with store as it was and no copy left.
bool cleanSceneFile(void* context, const HostPath* file, const host::String& shown, const FolderTexts& texts,
                    ResultStore& found, ResultStore& store) {
    CleanRun& run = *static_cast<CleanRun*>(context);
    const host::String path = host::pathText(file);
    if (path.refused()) return false;
    host::HiddenDocument scene(file);
    if (scene.outOfMemory()) return false;
    if (scene.document() == nullptr) return roomFor(store, 1) && addSceneFileRow(store, shown, path, texts.notRead);
    MissingPlugins missing;
    if (findMissingPlugins(scene.document(), run.request, missing, found).outOfMemory) return false;
    if (!foundMissingPlugins(missing)) {
        clearResults(found);
        return roomFor(store, 1) && addSceneFileRow(store, shown, path, run.texts.nothingToRemove);
    }
    // Everything the rows need comes first: once a copy is written, nothing
    // may fail for memory.
    const host::Path copy = copyPathOf(run.destination, shown.view());
    const host::String copyPath = copy.valid() ? copy.toString() : host::String::adopt(nullptr);
    const bool removed = !copyPath.refused() && roomFor(store, found.records.size()) &&
                         removeMissingPlugins(scene.document(), missing, run.scratch) == Carried::Done;
    clearResults(run.scratch);
    const Copy outcome = removed ? writeVerifiedCopy(run, scene, copy) : Copy::OutOfMemory;
    if (outcome == Copy::OutOfMemory) {
        clearResults(found);
        return false;
    }
    for (ResultRecord& record : found.records) {
        record.cleanedCopy = copyText(run, outcome, shown);
        if (outcome == Copy::Written) record.copyPath = copyPath;
    }
    return moveSceneFileRows(found, store, shown, path);
}

}  // namespace

bool liesWithin(const host::Path& destination, const host::Path& folder, bool& outOfMemory) {
    outOfMemory = true;  // until the answer is known: without it the copies could land inside
    host::Path within;
    host::Path place(destination);
    host::Path real;
    if (!within.valid() || !place.valid() || !real.valid() || !folder.valid()) return true;
    // A folder no longer there is compared as it was chosen.
    if (!folder.realPath(within) && !within.assign(folder)) return true;
    // The deepest part of the destination that is there, its links followed:
    // a folder still to be made below a link into the searched folder lies
    // inside it too.
    while (!place.realPath(real)) {
        host::Path parent = place.directory();
        if (!parent.valid()) return true;
        if (parent.empty() || parent == place) {
            // Nothing of it is there: compared as it was chosen.
            if (!real.assign(destination)) return true;
            break;
        }
        place = parent;
    }
    while (!(real == within)) {
        host::Path parent = real.directory();
        if (!parent.valid()) return true;
        if (parent.empty() || parent == real) {
            outOfMemory = false;
            return false;
        }
        real = parent;
    }
    outOfMemory = false;
    return true;
}

FolderOutcome cleanFolder(const host::Path& folder, const host::Path& destination, const SearchRequest& request,
                          ResultStore& store, const FolderProgress& progress) {
    CleanRun run{destination, request, {}, {}};
    run.request.action = Action::RemoveMissingInFolder;
    if (!run.texts.made()) {
        clearResults(store);
        store.rowCounter = 0;
        FolderOutcome outcome;
        outcome.outOfMemory = true;
        return outcome;
    }
    return runOverFolder(folder, store, progress, cleanSceneFile, &run);
}
