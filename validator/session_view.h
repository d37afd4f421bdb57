// What a check reads of a running session besides the saved scene: the rows
// of the results list as drawn, and where two saved scenes part.
#pragma once

#include <string>
#include <vector>

#include "ui/dialogs.h"
#include "harness.h"

namespace validator {

using Rows = std::vector<std::vector<std::string>>;

// Each row's cell texts, in list order; none when the window is closed or
// has no list. Drawing calls the module, as the host does to show the list.
Rows listedRows(Harness& harness);

// The notice of a run cut short for lack of memory, per entry of the action
// box (Identify ... Remove Missing Plugins).
inline constexpr const char* searchIncomplete = "Cleartrace ran out of memory. The search is incomplete.";
inline constexpr const char* listIncomplete = "Cleartrace ran out of memory. The list is incomplete.";
inline constexpr const char* nothingRemoved = "Cleartrace ran out of memory. Nothing was removed.";
inline constexpr const char* outOfMemoryTexts[] = {searchIncomplete, listIncomplete, nothingRemoved, listIncomplete,
                                                   nothingRemoved};
// The notice of a removal the host could not record for undo.
inline constexpr const char* undoRefusedText = "Cleartrace could not record the removal for Undo. Nothing was removed.";
// The one row of a missing-plug-ins list when nothing is missing.
inline constexpr const char* noMissingPlugins = "No missing plugins found.";

// Whether row says nothing was found ("Tag plugin 1234 not found.", or
// noMissingPlugins) rather than listing something.
bool isNotFoundRow(const std::vector<std::string>& row);

// A control of the module's window as the user sees it; null when the
// window is closed or lacks it.
const substitute::Control* windowControl(Harness& harness, int32_t id);

// Where two lists part: "row 2: expected [...], found [...]".
std::string rowDifference(const Rows& expected, const Rows& found);

// "line 3: expected `...`, found `...`" for the first line where actual
// departs from expected; "" when they are equal.
std::string firstDifference(const std::string& expected, const std::string& actual);

// The live objects (pre-order) and materials of the active document, as the
// paths `select` and `delete` take.
std::vector<std::string> objectPaths(Harness& harness);
std::vector<std::string> materialPaths(Harness& harness);

}  // namespace validator
