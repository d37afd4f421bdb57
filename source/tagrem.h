// The module's one command: it opens the tool dialog.
#pragma once

#include "cleartrace_dialog.h"

inline constexpr int32_t CLEARTRACE_COMMAND_ID = 1066888;

// Registers the command with the host; true when the host accepted it.
bool registerCommand();
