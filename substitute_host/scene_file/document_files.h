// Scene files read on the module's request: the general table's entries for
// hidden documents and for opening a file as the active document.
#pragma once

#include "host/host_tables.h"

namespace substitute {

void fillDocumentFileEntries(HostGeneralTable& ge);

}  // namespace substitute
