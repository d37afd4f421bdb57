// How much of a check's bulk an unoptimised build (debug, sanitizer) runs.
#pragma once

#include <cstdint>

namespace validator {

// Those builds are 10 to 20 times slower and look for faults, not for scale:
// they run every path of a check on a fifth of the rows. Depths stay, as the
// deeper stack frames of those builds are what a deep walk strains.
#ifdef __OPTIMIZE__
inline constexpr int64_t bulkDivisor = 1;
#else
inline constexpr int64_t bulkDivisor = 5;
#endif

}  // namespace validator
