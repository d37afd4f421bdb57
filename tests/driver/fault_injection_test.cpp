// Module faults as events, and out of memory on demand from the command line.
#include <gtest/gtest.h>

#include <iostream>
#include <regex>

#include "core/fault.h"
#include "expected_notices.h"
#include "run_driver.h"

namespace {

TEST(FaultInjectionOptions, TakeAWholeNumberFromOne) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--fail-allocation", "0"}, "--fail-allocation takes a whole number from 1, not \"0\""},
        {{"--fail-object", "-2"}, "--fail-object takes a whole number from 1, not \"-2\""},
        {{"--fail-string", "3x"}, "--fail-string takes a whole number from 1, not \"3x\""},
        {{"--fail-string", "99999999999999999999"},
         "--fail-string takes a whole number from 1, not \"99999999999999999999\""},
        {{"--fail-object"}, "--fail-object needs a value"},
        {{"--fail-save", "0"}, "--fail-save takes a whole number from 1, not \"0\""},
        {{"--fail-folder", "x"}, "--fail-folder takes a whole number from 1, not \"x\""},
        {{"--fail-remove", "-1"}, "--fail-remove takes a whole number from 1, not \"-1\""},
    };
    for (const auto& [args, problem] : cases) {
        DriverRun run = runDriver(args);
        EXPECT_EQ(run.status, 1) << problem;
        EXPECT_EQ(run.errors, "cleartrace-host: " + problem + "\n" + driver::usage);
    }
}

// With the driver's reporter a fault is the last event, flushed, and the
// process ends with status 3 instead of aborting.
TEST(ModuleFault, EndsTheProgramWithAFaultEventAndStatus3) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto faultIn = [](driver::Format format) {
        driver::Output output(std::cerr, format);
        driver::FaultEvents events(output);
        substitute::fault("Ba.name", "element handle 0x10 is not live");
    };
    EXPECT_EXIT(faultIn(driver::Format::Text), ::testing::ExitedWithCode(substitute::faultExitStatus),
                "^fault: Ba.name: element handle 0x10 is not live\n$");
    EXPECT_EXIT(faultIn(driver::Format::Json), ::testing::ExitedWithCode(substitute::faultExitStatus),
                R"(^\{"event":"fault","operation":"Ba.name","text":"element handle 0x10 is not live"\}
$)");
}

// The strings of a --counts line; -1 without one.
int64_t stringsCounted(const std::string& output) {
    std::smatch match;
    const std::regex counts(R"(counts: \d+ allocations, \d+ objects, (\d+) strings, \d+ undo\n$)");
    return std::regex_search(output, match, counts) ? std::stoll(match[1]) : -1;
}

// Each string the module asks for fails in turn: no run faults or leaks; one
// that needed the refused string for what it shows is cut short with its
// notice, removes nothing, and so leaves nothing to undo. (Without the
// question: a question that cannot be worded removes nothing either.)
TEST(FailString, EveryStringOfARemoveSessionCanFail) {
    const std::vector<std::string> session = {"-c", "open; action remove; warn off; id 1234567; process; list; undo",
                                              exampleScene.string()};
    std::vector<std::string> args = session;
    args.insert(args.begin(), "--counts");
    const DriverRun complete = runDriver(args);
    ASSERT_EQ(complete.status, 0) << complete.output;
    const int64_t strings = stringsCounted(complete.output);
    ASSERT_GT(strings, 50);
    for (int64_t k = 1; k <= strings; ++k) {
        args = session;
        args.insert(args.begin(), {"--fail-string", std::to_string(k)});
        const DriverRun run = runDriver(args);
        const bool cutShort = run.output.find(std::string("notice: ") + kit::nothingRemoved) != std::string::npos;
        if (cutShort) {
            EXPECT_EQ(run.status, 1) << "string " << k << "\n" << run.output;
            EXPECT_NE(run.output.find("error: -c command 7: undo: nothing to undo"), std::string::npos)
                << "string " << k << "\n"
                << run.output;
        } else {
            EXPECT_EQ(run.status, 0) << "string " << k << "\n" << run.output;
            EXPECT_EQ(run.output.find("error:"), std::string::npos) << "string " << k << "\n" << run.output;
        }
    }
}

}  // namespace
