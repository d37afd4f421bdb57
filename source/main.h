// Module entry and lifecycle: what the rest of the module may ask of it.
#pragma once

#include "host/kernel.h"
#include "host/path.h"

// String id of the module's resource; empty when none is loaded.
host::String resourceString(int32_t id);
// A copy of the module's own file path; empty when none is stored.
host::Path modulePath();
// The folder that holds the module file; empty without a module path.
host::Path moduleFolder();
// The module's resource folder: "res" beside the module file, or the
// application's own resource folder for a module installed inside it.
host::Path resourceFolder();
// Bind messages received minus end messages received (never below 0).
int32_t moduleBindCount();
