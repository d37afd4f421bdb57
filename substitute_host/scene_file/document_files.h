// Scene files read and written on the module's request: the general table's
// entries for hidden documents, for opening a file as the active document and
// for saving a document as a new file.
#pragma once

#include "host/host_tables.h"

namespace substitute {

void fillDocumentFileEntries(HostGeneralTable& ge);

}  // namespace substitute
