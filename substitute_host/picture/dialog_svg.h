// A picture of a dialog window as SVG: title bar, menu bar, group borders
// and titles, every control as it shows now (disabled ones greyed), and the
// tree views with their header row and the rows that fit, drawn from what the
// module drew into their cells.
#pragma once

#include <string>

#include "picture/dialog_layout.h"

namespace substitute {

// The window as laid out, with each tree view's last drawing.
std::string dialogSvg(const HostDialog& dialog, const DialogLayout& layout);

// Redraws the window's tree views through the module, lays the window out at
// size (or larger, if its contents need it) and draws it.
std::string snapshotDialog(HostDialog& dialog, WindowSize size = {});

}  // namespace substitute
