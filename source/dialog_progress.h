// The dialog's word to the user while a folder run goes on: the file being
// searched in the host's status bar, and the Escape key that stops the run.
#pragma once

#include "search.h"

// The status bar shows "Cleartrace: PATH (I of N)" and the share of the files
// done before each file, and is cleared at the end; Escape stops the run.
extern const FolderProgress statusBarProgress;
