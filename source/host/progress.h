// The host's status bar and the Escape key: how a long run shows how far it
// got and hears the user stop it.
#pragma once

#include "kernel.h"

namespace host {

// A text the host could not make is not shown: a bar naming nothing, or the
// wrong thing, would tell the user something false.
inline bool setStatusText(const String& text) {
    if (text.refused()) return false;
    tables().t_C4DOS_Ge->statusSetText(text.handle());
    return true;
}
inline void setStatusBar(int32_t percent) { tables().t_C4DOS_Ge->statusSetBar(percent); }
inline void clearStatus() { tables().t_C4DOS_Ge->statusClear(); }
inline bool escapePressed() { return tables().t_C4DOS_Ge->keyDown(HOST_KEY_ESCAPE); }

}  // namespace host
