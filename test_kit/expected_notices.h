// The notices and console lines the module shows, as the tests and the
// validator expect to read them: written here once, apart from the module's own strings, so that a
// changed text is noticed.
#pragma once

namespace kit {

// The notice of a run cut short for lack of memory, per entry of the action
// box (Identify ... Remove Missing Plugins in Folder).
inline constexpr const char* searchIncomplete = "Cleartrace ran out of memory. The search is incomplete.";
inline constexpr const char* listIncomplete = "Cleartrace ran out of memory. The list is incomplete.";
inline constexpr const char* nothingRemoved = "Cleartrace ran out of memory. Nothing was removed.";
inline constexpr const char* outOfMemoryTexts[] = {searchIncomplete, listIncomplete, nothingRemoved, listIncomplete,
                                                   nothingRemoved,   listIncomplete, listIncomplete};
// The notice of a removal the host could not record for undo.
inline constexpr const char* undoRefusedText = "Cleartrace could not record the removal for Undo. Nothing was removed.";
// The console lines of a module start, and of a resource that would not load.
inline constexpr const char* loadedLine = "Tessaly Software: Cleartrace successfully loaded.";
inline constexpr const char* failedLine = "Tessaly Software: Failed to load Cleartrace";
inline constexpr const char* resourceFailedLine = "Cleartrace: failed to load resource file.";
// The one row of a missing-plug-ins list when nothing is missing.
inline constexpr const char* noMissingPlugins = "No missing plugins found.";
// A folder clean: the destination refused, the question, and the texts of
// the "Cleaned Copy" column and of a file with nothing missing.
inline constexpr const char* copiesInsideText =
    "Cleartrace writes the cleaned copies outside the folder it searches. Choose another folder.";
inline constexpr const char* nothingToRemove = "Nothing to remove.";
inline constexpr const char* copyExists = "Not written: a file is already there.";
inline constexpr const char* copyNotWritten = "Could not write this file.";
inline constexpr const char* copyNotVerified = "The cleaned copy did not verify.";

}  // namespace kit
