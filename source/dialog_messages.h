// The dialog's word to the user about a run: the question before a removal
// and the notices the outcome of a run calls for. Only the texts that must
// exist before anything is removed come made in the outcome; the rest are
// made here, when they are shown.
#pragma once

#include "search.h"

// Asks before a removal when the request wants it; false when the user did
// not confirm (or, with outcome.outOfMemory, when the question could not be
// worded).
bool confirmedRemoval(const SearchRequest& request, SearchOutcome& outcome);

// Shows the message boxes the outcome calls for, in the order of the run.
void tellOutcome(const SearchRequest& request, const SearchOutcome& outcome);
// Shows one notice of a run of action; a text the host could not make whole
// is not shown: the action's out-of-memory notice stands in for it.
void tellNotice(Action action, const host::String& text);
// The same with standIn in place of a text the host could not make.
void tellNotice(const host::String& text, const char* standIn);

// Remove Missing Plugins in Folder: asks, when the request wants it, before
// anything is read; false when the user did not confirm (or, with
// outOfMemory, when the question could not be worded).
bool confirmedClean(const SearchRequest& request, const host::Path& folder, const host::Path& destination,
                    bool& outOfMemory);
// The notice of a destination inside the folder searched.
void tellCopiesInside();

// What a folder run calls for: the notice of a run cut short, or of one the
// user stopped.
void tellFolderOutcome(const FolderOutcome& outcome);
// The notices of a folder's row whose file could not be opened, and of a list
// that could not be saved to path (the system path the user chose).
void tellNotOpened(const host::String& shownPath);
void tellNotSaved(const host::String& path);
