// The host's registry of live handles with handles side by side in memory, as
// a loaded scene's elements are: adding, looking up and removing each should
// cost about the same at every size, however the addresses cluster.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "core/handles.h"

namespace {
using substitute::HandleKind;

// Consecutive 16-byte addresses, the allocator's smallest step.
std::vector<const void*> sideBySide(std::vector<uint64_t>& arena) {
    std::vector<const void*> handles(arena.size() / 2);
    for (size_t i = 0; i < handles.size(); ++i) handles[i] = &arena[2 * i];
    return handles;
}

void registryAddLookUpRemove(benchmark::State& state) {
    std::vector<uint64_t> arena(2 * size_t(state.range(0)));
    const std::vector<const void*> handles = sideBySide(arena);
    for (auto _ : state) {
        substitute::HandleRegistry registry;
        for (const void* handle : handles) registry.add(handle, HandleKind::Element);
        size_t live = 0;
        for (const void* handle : handles) live += registry.isLive(handle, HandleKind::Element);
        // Every other one first, so removals land amid occupied slots.
        for (size_t i = 0; i < handles.size(); i += 2) registry.remove(handles[i]);
        for (const void* handle : handles) live += registry.isLive(handle, HandleKind::Element);
        for (size_t i = 1; i < handles.size(); i += 2) registry.remove(handles[i]);
        benchmark::DoNotOptimize(live);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(registryAddLookUpRemove)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace
