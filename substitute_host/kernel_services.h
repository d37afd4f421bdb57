// Kernel services: memory, strings, paths, console, configuration, folders.
#pragma once

#include "host/host_kernel.h"
#include "table_storage.h"

namespace substitute {

class KernelServices {
public:
    void fill(HostKernel& kernel, TableStorage& tables);
    // False when an injected failure is due for the creation of a host object.
    bool objectCreationAllowed();
};

}  // namespace substitute
