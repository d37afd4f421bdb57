// The table of live handles under many additions and removals: removal shifts
// later entries back, and nothing may get lost or found twice on the way.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/handles.h"

namespace {
using substitute::HandleKind;

TEST(HandleTable, EntriesStayFindableThroughGrowthAndRemovals) {
    // Addresses as the allocator hands them out: in runs, with gaps.
    std::vector<char> arena(1 << 22);
    std::vector<const void*> handles;
    for (size_t offset = 0; offset + 48 < arena.size(); offset += offset % 7 == 0 ? 48 : 160) {
        handles.push_back(&arena[offset]);
    }
    substitute::HandleRegistry registry;
    for (size_t i = 0; i < handles.size(); ++i)
        registry.add(handles[i], i % 3 ? HandleKind::Element : HandleKind::Layer);
    for (size_t i = 0; i < handles.size(); i += 2) registry.remove(handles[i]);
    size_t wrong = 0;
    for (size_t i = 0; i < handles.size(); ++i) {
        const HandleKind kind = i % 3 ? HandleKind::Element : HandleKind::Layer;
        wrong += registry.isLive(handles[i], kind) != (i % 2 == 1);
    }
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(registry.count(HandleKind::Element) + registry.count(HandleKind::Layer), handles.size() / 2);
    registry.remove(nullptr);
    registry.remove(handles[0]);  // gone already
    EXPECT_FALSE(registry.isLive(nullptr, HandleKind::Element));
    EXPECT_FALSE(registry.isLive(&arena[1], HandleKind::Element));
}

TEST(HandleTable, SideBySideHandlesWithInterleavedRemovals) {
    // Consecutive 16-byte addresses, as a scene's elements get them when it is
    // loaded: they must spread over the table, and removal amid them must keep
    // every later entry of a run findable.
    constexpr size_t count = 100000;
    std::vector<uint64_t> arena(2 * count);
    const auto handle = [&](size_t i) -> const void* { return &arena[2 * i]; };
    const auto kindOf = [](size_t i) { return i % 5 ? HandleKind::Element : HandleKind::Channel; };
    std::vector<bool> live(count, false);
    substitute::HandleRegistry registry;
    for (size_t i = 0; i < count; ++i) {
        registry.add(handle(i), kindOf(i));
        live[i] = true;
        // Removes behind the newest in a pattern that leaves holes of every size.
        if (i % 3 == 2) {
            registry.remove(handle(i / 2));
            live[i / 2] = false;
        }
        if (i % 7 == 6) {
            registry.remove(handle(i - 3));
            live[i - 3] = false;
        }
    }
    // Some come back after their removal, at the same address.
    for (size_t i = 0; i < count; i += 11) {
        if (live[i]) continue;
        registry.add(handle(i), kindOf(i));
        live[i] = true;
    }
    size_t wrong = 0, wrongKind = 0, liveCount = 0;
    for (size_t i = 0; i < count; ++i) {
        wrong += registry.isLive(handle(i), kindOf(i)) != live[i];
        wrongKind += registry.isLive(handle(i), HandleKind::Layer);
        liveCount += live[i];
    }
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(wrongKind, 0u);
    EXPECT_EQ(registry.count(HandleKind::Element) + registry.count(HandleKind::Channel), liveCount);
    // Between two handles: never handed out.
    EXPECT_FALSE(registry.isLive(&arena[1], kindOf(0)));

    for (size_t i = 0; i < count; ++i) registry.remove(handle(i));
    EXPECT_EQ(registry.count(HandleKind::Element) + registry.count(HandleKind::Channel), 0u);
}

}  // namespace
