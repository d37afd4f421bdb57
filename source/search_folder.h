// What the folder runs share: the scene files below a folder, listed and
// ordered, each handed to the run's own work in turn with Escape asked
// between them.
#pragma once

#include "search.h"

// The texts of the rows that stand for a whole file or folder, made before
// the first file is read.
struct FolderTexts {
    host::String notRead{"Could not open this file."};
    host::String notListed{"Could not list this folder."};
    host::String noSceneFiles{"No scene files found."};
    host::String folderEnd{"/"};
    host::String listedFolder{"./"};

    bool made() const {
        return !notRead.refused() && !notListed.refused() && !noSceneFiles.refused() && !folderEnd.refused() &&
               !listedFolder.refused();
    }
};

// One scene file's work: its rows added to store (found is scratch, empty on
// entry and left empty); false when out of memory, with store as it was.
using SceneFileWork = bool (*)(void* context, const HostPath* file, const host::String& shown, const FolderTexts& texts,
                               ResultStore& found, ResultStore& store);

// Every scene file below folder in the byte order of its relative path
// (shown), handed to work; the rows of folders that could not be listed, and
// "No scene files found." for a folder without any.
FolderOutcome runOverFolder(const host::Path& folder, ResultStore& store, const FolderProgress& progress,
                            SceneFileWork work, void* context);
