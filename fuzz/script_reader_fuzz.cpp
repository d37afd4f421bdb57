// libFuzzer target: session scripts.
#include <cstddef>
#include <cstdint>

#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::checkScriptText({reinterpret_cast<const char*>(data), size});
    return 0;
}
