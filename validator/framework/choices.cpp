#include "framework/choices.h"

namespace validator {

uint64_t Choices::below(uint64_t count) {
    // Rejection keeps every value equally likely: outputs at or above the
    // largest multiple of count are drawn again.
    const uint64_t limit = UINT64_MAX - UINT64_MAX % count;
    uint64_t value = engine_();
    while (value >= limit) value = engine_();
    return value % count;
}

int64_t Choices::between(int64_t low, int64_t high) { return low + int64_t(below(uint64_t(high - low) + 1)); }

}  // namespace validator
