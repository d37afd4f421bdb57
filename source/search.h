// Instance search and removal: the process drivers and the walkers that
// visit the places where a plug-in's elements live.
//
// The walkers keep their own stacks in host memory instead of recursing, so
// the depth of a scene never reaches the native stack. They still behave as
// the recursive walk they replace: same order, same rows and undo steps, and
// one scene-changed notice per (former) recursive call, sent when that call
// would have returned.
//
// A removal first finds every instance and removes them only once the whole
// search succeeded, so a run that runs out of memory changes nothing. Such a
// run is cut short: it tells the user so and adds no not-found row.
#pragma once

#include "cleartrace_dialog.h"

// Plug-in id from the number field's value: truncated toward zero. False
// when the value (after truncation) is outside the int32 range or not finite.
bool pluginIdFromField(double value, int32_t& id);

// One driver call for a plug-in type. False when the run was cut short for
// lack of memory (the user has been told).
bool runDriver(CleartraceDialog& dialog, host::Document* document, int32_t type, int32_t action);

// Records what an Identify walk met: foundType and foundName.
void identifyInstance(CleartraceDialog& dialog, host::Element* instance, int32_t id, int32_t type);
