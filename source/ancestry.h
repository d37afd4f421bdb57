// Which entries of a list of scene elements lie below other entries: a
// selection may hold an object and its descendant, a removal may meet a shader
// and another one nested inside it.
#pragma once

#include <cstdint>

#include "host/host_vector.h"
#include "host/scene.h"

inline constexpr int32_t noAncestor = INT32_MAX;

// For each entry, the smallest index i of a candidate that is its ancestor
// (through host::parent), or noAncestor. candidates[i] is entries[i] or null
// (an entry that counts as nobody's ancestor). An entry repeated later counts
// the first candidate occurrence as its ancestor. Every entry must be alive.
// Linear in the entries and their ancestors. False when out of memory.
bool earliestAncestors(const host::Vector<host::Element*>& entries,
                       const host::Vector<host::Element*>& candidates, host::Vector<int32_t>& earliest);
