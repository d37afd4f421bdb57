#include "kernel_services.h"

#include "paths.h"
#include "strings.h"

namespace substitute {

void KernelServices::fill(HostKernel& kernel, TableStorage& tables) {
    kernel.size = int32_t(sizeof(HostKernel));
    fillStringServices(kernel);
    fillPathTable(tables.fn);
}

bool KernelServices::objectCreationAllowed() { return true; }

}  // namespace substitute
