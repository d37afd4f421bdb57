// A substitute host with the module's logic bound to it in-process, without
// going through the entry point: for tests of the search, the dialog and the
// results list. Tests of the entry point itself drive c4d_main instead.
#pragma once

#include "core/substitute_host.h"
#include "host/binding.h"

struct BoundHost {
    substitute::SubstituteHost host;

    BoundHost() {
        g_maxon.kernel = host.kernel();
        host::storeTables(*host.tables());
    }
    ~BoundHost() {
        host::forgetTables();
        g_maxon.kernel = nullptr;
    }
};
