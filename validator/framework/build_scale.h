// How much of a check's bulk an unoptimised build (debug, sanitizer) runs.
#pragma once

#include <cstdint>

namespace validator {

// Those builds are 10 to 20 times slower and look for faults, not for scale:
// they run every path of a check on a fifth of the rows. Depths stay, as the
// deeper stack frames of those builds are what a deep walk strains.
#ifdef __OPTIMIZE__
inline constexpr bool optimisedBuild = true;
#else
inline constexpr bool optimisedBuild = false;
#endif
inline constexpr int64_t bulkDivisor = optimisedBuild ? 1 : 5;

}  // namespace validator
