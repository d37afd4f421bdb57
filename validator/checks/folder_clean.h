// What a Remove Missing Plugins in Folder must leave on disk, judged apart
// from the module: the searched folder as it was, bytes and times; in the
// destination what was there before, untouched, and only the copies its rows
// name with their folders (no temporary file, nothing partial); and each
// copy the file that Remove Missing Plugins and a save make of its original
// opened alone with the same plug-ins installed and the same boxes.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/session_view.h"

namespace validator {

using FolderState = std::map<std::string, std::string>;

// The folders of a clean and what they held before it.
struct CleanFolders {
    std::filesystem::path source;
    std::filesystem::path destination;
    FolderState sourceBefore;  // as the run must leave it
    FolderState destinationBefore;
};

CleanFolders cleanFoldersBefore(const std::filesystem::path& source, const std::filesystem::path& destination);

// The copies a clean's rows name as written, by path relative to the destination.
std::set<std::string> copiesNamed(const Rows& rows);

// "" when the disk is as a clean that listed rows must leave it, else what
// differs. refused: a save or a folder was refused, so a file may be "Could
// not write this file.".
std::string cleanLeft(const CleanFolders& folders, const Rows& rows, bool refused);

// The boxes of a clean that shape its copies.
struct CleanBoxes {
    bool keepLayerShaders = false;
    bool keepChildren = true;
};

// A copy a clean wrote, read as the clean left it, with what it was made of.
struct CleanedCopy {
    std::string path;      // relative to the destination
    std::string original;  // the original's bytes as the source holds it now
    std::string copy;
    CleanBoxes boxes;
};

// The copies the rows name.
std::vector<CleanedCopy> cleanedCopies(const CleanFolders& folders, const Rows& rows, CleanBoxes boxes);

// "" when every copy is byte for byte what Remove Missing Plugins and a save
// make of its original opened alone as the start scene (so installing its
// plug-ins) with the same boxes. Each is worked out in a session of its own,
// so no other substitute host may be running.
std::string copiesAsRemovedAndSaved(const std::filesystem::path& module, const std::vector<CleanedCopy>& copies);

}  // namespace validator
