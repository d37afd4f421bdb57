// The table of live handles under many additions and removals: removal shifts
// later entries back, and nothing may get lost or found twice on the way.
#include <gtest/gtest.h>

#include <vector>

#include "handles.h"

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

}  // namespace
