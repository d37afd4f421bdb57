// Inside the dialog toolkit: what its files (the table, the window, the
// user, the description) offer each other.
#pragma once

#include <cstdint>
#include <string>

#include "ui/dialogs.h"

namespace substitute {

// The first control with this id and kind; null when there is none.
Control* controlOfKind(HostDialog& dialog, int32_t id, ControlKind kind);
// The control as the description and the refusals name it: kind, id, text.
std::string nameOf(const Control& control);
// Sets the value, kept inside the control's range.
void setValue(Control& control, double value);

// Ends the window's widgets: custom controls leave the handle registry.
void destroyWidgets(HostDialog& dialog);
// Records the call and opens the window unless it is open or opening; the
// dialog builds it on bINI and bVIN, and one that cannot does not open.
bool openWindow(HostDialog& dialog, const OpenCall& call);
// Closes an open window without asking the dialog, then tells it (dsty).
void closeNow(HostDialog& dialog);

}  // namespace substitute
