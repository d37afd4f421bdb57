// The user interface side of the host: dialogs, tree views, message boxes,
// resources, bitmaps, opening files, registered commands.
#pragma once

#include "table_storage.h"

namespace substitute {

class Interface {
public:
    void fill(TableStorage& tables);
    // Destroys the registered commands, as the application does when it quits.
    void shutDown();
};

}  // namespace substitute
