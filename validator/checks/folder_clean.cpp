#include "checks/folder_clean.h"

#include <tuple>

#include "framework/module_pin.h"
#include "read_file.h"
#include "scene_folder.h"

namespace validator {
namespace {
namespace fs = std::filesystem;

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(fs::symlink_status(path, error));
}

// Whether entry is a copy named or a folder above one.
bool namedOrAbove(const std::string& entry, const std::set<std::string>& copies) {
    if (copies.count(entry) != 0) return true;
    const std::string folder = entry + "/";
    const auto next = copies.lower_bound(folder);
    return next != copies.end() && next->compare(0, folder.size(), folder) == 0;
}

std::string sourceLeft(const CleanFolders& folders) {
    const FolderState now = kit::folderState(folders.source);
    for (const auto& [path, state] : folders.sourceBefore) {
        const auto found = now.find(path);
        if (found == now.end()) return "the clean took " + path + " from the searched folder";
        if (found->second != state) return "the clean changed " + path + " in the searched folder (bytes or times)";
    }
    for (const auto& [path, state] : now) {
        if (folders.sourceBefore.count(path) == 0) return "the clean put " + path + " in the searched folder";
    }
    return {};
}

// What Remove Missing Plugins and a save make of scene opened alone with
// boxes; false, with why in text, when the session refused something.
bool removedAndSaved(const fs::path& module, const std::string& scene, CleanBoxes boxes, std::string& text) {
    Harness harness;
    text = harness.start(module, scene);
    if (!text.empty()) return false;
    const std::string commands = std::string("open; action remove-missing; warn off; keep ") +
                                 (boxes.keepLayerShaders ? "on" : "off") + "; children " +
                                 (boxes.keepChildren ? "on" : "off") + "; process";
    text = harness.run(commands);
    if (!text.empty()) return false;
    text = harness.savedScene();
    const std::string left = harness.quit();
    if (left.empty()) return true;
    text = left;
    return false;
}

}  // namespace

CleanFolders cleanFoldersBefore(const fs::path& source, const fs::path& destination) {
    return {source, destination, kit::folderState(source), kit::folderState(destination)};
}

std::set<std::string> copiesNamed(const Rows& rows) {
    std::set<std::string> copies;
    for (const std::vector<std::string>& row : rows) {
        // A written copy's cell is its path, which is the original's.
        if (row.size() == 6 && !row[5].empty() && row[5] == row[0]) copies.insert(row[5]);
    }
    return copies;
}

std::string cleanLeft(const CleanFolders& folders, const Rows& rows, bool refused) {
    if (std::string problem = sourceLeft(folders); !problem.empty()) return problem;
    for (const std::vector<std::string>& row : rows) {
        if (row.size() != 6) return "a row of the clean has " + std::to_string(row.size()) + " cells, not 6";
        const std::string& file = row[0];
        const std::string& cell = row[5];
        if (cell == kit::copyExists && folders.destinationBefore.count(file) == 0) {
            return "the row of " + file + " says \"" + cell + "\", but nothing was there";
        }
        if (cell == kit::copyNotWritten && !refused) return "the row of " + file + " says \"" + cell + "\" unrefused";
        if (cell == kit::copyNotVerified) return "the row of " + file + " says \"" + cell + "\"";
    }
    const std::set<std::string> copies = copiesNamed(rows);
    const FolderState now = kit::folderState(folders.destination);
    for (const auto& [path, state] : folders.destinationBefore) {
        const auto found = now.find(path);
        if (found == now.end()) return "the clean took " + path + ", which was in the destination before";
        // A folder's time changes with what is made in it.
        if (found->second != state && !isFolder(folders.destination / path)) {
            return "the clean wrote over " + path + ", which was in the destination before";
        }
    }
    for (const std::string& copy : copies) {
        if (folders.destinationBefore.count(copy) != 0)
            return "the row of " + copy + " names a copy written over a file";
        std::error_code error;
        if (!fs::is_regular_file(fs::symlink_status(folders.destination / copy, error))) {
            return "the row of " + copy + " names a copy the destination does not hold";
        }
    }
    for (const auto& [path, state] : now) {
        if (folders.destinationBefore.count(path) == 0 && !namedOrAbove(path, copies)) {
            return "the clean left " + path + " in the destination, which no row names";
        }
    }
    return {};
}

std::vector<CleanedCopy> cleanedCopies(const CleanFolders& folders, const Rows& rows, CleanBoxes boxes) {
    std::vector<CleanedCopy> copies;
    for (const std::string& copy : copiesNamed(rows)) {
        copies.push_back(
            {copy, kit::readFile(folders.source / copy), kit::readFile(folders.destination / copy), boxes});
    }
    return copies;
}

std::string copiesAsRemovedAndSaved(const fs::path& module, const std::vector<CleanedCopy>& copies) {
    // A file cleaned again with the same boxes is judged once.
    std::set<std::tuple<std::string, std::string, bool, bool>> judged;
    ModulePin pin(module);
    for (const CleanedCopy& copy : copies) {
        if (!judged.emplace(copy.original, copy.copy, copy.boxes.keepLayerShaders, copy.boxes.keepChildren).second) {
            continue;
        }
        std::string expected;
        if (!removedAndSaved(module, copy.original, copy.boxes, expected)) {
            return "the copy of " + copy.path + " has no original that Remove Missing Plugins cleans: " + expected;
        }
        const std::string difference = firstDifference(expected, copy.copy);
        if (!difference.empty()) {
            return "the copy of " + copy.path + " (layer shaders " +
                   (copy.boxes.keepLayerShaders ? "kept" : "removed") + ", children " +
                   (copy.boxes.keepChildren ? "kept" : "removed") +
                   ") is not what Remove Missing Plugins and a save make of it: " + difference;
        }
    }
    return {};
}

}  // namespace validator
