// A seeded source of choices that replays the same on every platform and
// standard library. The standard distributions may give different numbers
// for the same engine output on another library, so only the engine's raw
// output is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>

namespace validator {

class Choices {
public:
    explicit Choices(uint64_t seed) : engine_(seed) {}

    // Uniform in [0, count); count must not be 0.
    uint64_t below(uint64_t count);
    // Uniform in [low, high].
    int64_t between(int64_t low, int64_t high);
    // True one time in `times` on average.
    bool oneIn(uint64_t times) { return below(times) == 0; }

    template <class T, size_t N>
    const T& pick(const T (&items)[N]) {
        return items[below(N)];
    }

private:
    std::mt19937_64 engine_;
};

}  // namespace validator
