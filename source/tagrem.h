// The module's one command: it opens the tool dialog.
#pragma once

#include "cleartrace_dialog.h"
#include "host/command.h"

// Lives from registration until the host destroys it; the dialog lives with it.
class CleartraceCommand : public host::CommandBase {
public:
    // Opens the dialog unless it is open already.
    bool execute(HostDocument* document) override;
    // Reopens the dialog from the host's saved window layout.
    bool restoreLayout(void* layoutData) override;

    CleartraceDialog dialog;
};

// Registers the command with the host; true when the host accepted it.
bool registerCommand();
