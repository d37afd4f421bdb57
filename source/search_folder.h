// What the folder runs share: the scene files below a folder, listed and
// ordered, each handed to the run's own work in turn with Escape asked
// between them, and a list cut short ending with a row that says so.
#pragma once

#include "search.h"

// The texts of the rows that stand for a whole file or folder, or end a list
// cut short, made before the first file is read.
struct FolderTexts {
    host::String notRead{"Could not open this file."};
    host::String notListed{"Could not list this folder."};
    host::String noSceneFiles{"No scene files found."};
    host::String incomplete{"The list is incomplete."};

    bool made() const {
        return !notRead.refused() && !notListed.refused() && !noSceneFiles.refused() && !incomplete.refused();
    }
};

// Room in store for rows more rows and the one that may end the list: once
// made, no row of a run cut short can fail to say so. False when out of memory.
bool roomFor(ResultStore& store, int64_t rows);

// One scene file's work: its rows added to store (found is scratch, empty on
// entry and left empty), with room made by roomFor; false when out of memory,
// with store as it was.
using SceneFileWork = bool (*)(void* context, const HostPath* file, const host::String& shown, const FolderTexts& texts,
                               ResultStore& found, ResultStore& store);

// Every scene file below folder in the order sortedEntries gives, handed to
// work; the rows of folders that could not be listed, "No scene files found."
// for a folder without any, and the row that ends a list cut short.
FolderOutcome runOverFolder(const host::Path& folder, ResultStore& store, const FolderProgress& progress,
                            SceneFileWork work, void* context);
