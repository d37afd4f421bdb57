// The results list of the module's window as the host's tree view draws it:
// what a user sees of a Generate List run.
#pragma once

#include <string>

#include "framework/harness.h"
#include "ui/tree_views.h"

namespace validator {

// The tree view of the module's window; null when the window or its list is
// not there.
HostGui* resultsTreeView(Harness& harness);

// The list as the host drew it last (every run ends with a refresh); null
// when there is no list.
const substitute::Drawing* lastDrawnList(Harness& harness);

// The text drawn in the first column of row, "" when none.
std::string firstColumnText(const substitute::Drawing& drawing, size_t row);

}  // namespace validator
