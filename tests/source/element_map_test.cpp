// The walks' element map against a standard map, through growth and
// deletions that must keep every probe chain whole.
#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

#include "bound_host.h"
#include "host/element_map.h"

TEST(ElementMap, AgreesWithAStandardMapThroughInsertsAndErases) {
    BoundHost bound;
    {
        ElementMap map;
        std::unordered_map<const void*, int32_t> reference;
        std::mt19937 rng(7);
        // Few distinct keys, so erased slots are reused and chains collide.
        const auto key = [&] { return reinterpret_cast<const void*>(uintptr_t(8 * (1 + rng() % 300))); };
        for (int32_t step = 0; step < 20000; ++step) {
            const void* k = key();
            if (rng() % 3 == 0) {
                map.erase(k);
                reference.erase(k);
            } else {
                ASSERT_TRUE(map.set(k, step));
                reference[k] = step;
            }
            const void* probe = key();
            const int32_t* found = map.find(probe);
            const auto expected = reference.find(probe);
            ASSERT_EQ(found != nullptr, expected != reference.end()) << step;
            if (found != nullptr) {
                ASSERT_EQ(*found, expected->second);
            }
        }
        EXPECT_EQ(map.find(nullptr), nullptr);

        bound.host.services.failAllocation(1);
        ElementMap empty;
        EXPECT_FALSE(empty.set(key(), 1));
        EXPECT_EQ(empty.find(key()), nullptr);
    }
    EXPECT_EQ(bound.host.services.liveBlocks(), 0);
}
