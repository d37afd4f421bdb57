// What a check reads of a running session besides the saved scene: the rows
// of the results list as drawn, and where two saved scenes part.
#pragma once

#include <string>
#include <vector>

#include "dialogs.h"
#include "harness.h"

namespace validator {

// Each row's cell texts, in list order; none when the window is closed or
// has no list. Drawing calls the module, as the host does to show the list.
std::vector<std::vector<std::string>> listedRows(Harness& harness);

// A control of the module's window as the user sees it; null when the
// window is closed or lacks it.
const substitute::Control* windowControl(Harness& harness, int32_t id);

// "line 3: expected `...`, found `...`" for the first line where actual
// departs from expected; "" when they are equal.
std::string firstDifference(const std::string& expected, const std::string& actual);

// The live objects (pre-order) and materials of the active document, as the
// paths `select` and `delete` take.
std::vector<std::string> objectPaths(Harness& harness);
std::vector<std::string> materialPaths(Harness& harness);

}  // namespace validator
