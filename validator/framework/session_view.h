// What a check reads of a running session besides the saved scene: the rows
// of the results list as drawn, and where two saved scenes part.
#pragma once

#include <string>
#include <vector>

#include "expected_notices.h"
#include "framework/harness.h"
#include "ui/dialogs.h"

namespace validator {

using Rows = std::vector<std::vector<std::string>>;

// Each row's cell texts, in list order; none when the window is closed or
// has no list. Drawing calls the module, as the host does to show the list.
Rows listedRows(Harness& harness);

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
