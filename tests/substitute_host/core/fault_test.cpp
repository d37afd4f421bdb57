// The fault policy: a reporter ends the process with its own status, and a
// fault it raises itself cannot recurse.
#include <gtest/gtest.h>

#include <cstdio>

#include "core/fault.h"

namespace {

TEST(FaultPolicy, AFaultInTheReporterAbortsAndTheDefaultComesBack) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            substitute::FaultReporting reporting(
                [](std::string_view, std::string_view) { substitute::fault("reporter", "broke"); });
            substitute::fault("Ba.name", "stale");
        },
        "substitute host: module fault in reporter: broke");
    {
        substitute::FaultReporting reporting(
            [](std::string_view, std::string_view) { std::fputs("reported", stderr); });
    }
    EXPECT_DEATH(substitute::fault("Ba.name", "stale"), "^substitute host: module fault in Ba.name: stale");
}

}  // namespace
