// A driver session on the example scene with the window open after Generate
// List for the tags of plug-in 1234567, and a folder of its own for pictures.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "dialog_contract.h"
#include "picture/dialog_layout.h"
#include "read_file.h"
#include "run_driver.h"
#include "session.h"

class SnapshotSession : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::path(::testing::TempDir()) /
                 ("cleartrace-" + std::string(test->test_suite_name()) + "-" + test->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(session.start(CLEARTRACE_MODULE_FILE, exampleScene)) << shown.str();
        for (const char* command : {"open", "id 1234567", "process"}) run(command);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // Runs one command of words separated by blanks; it must be accepted.
    void run(const std::string& command) {
        std::istringstream words(command);
        driver::Words split;
        for (std::string word; words >> word;) split.push_back(word);
        ASSERT_TRUE(session.run(split, "test")) << command << "\n" << shown.str();
    }

    // Takes a snapshot into the folder; its bytes.
    std::string snapshot(const std::string& name = "dialog.svg") {
        const std::filesystem::path file = folder / name;
        EXPECT_TRUE(session.run({"snapshot", file.string()}, "test")) << shown.str();
        return kit::readFile(file);
    }

    HostDialog& window() { return *session.host().ui.findDialog(CLEARTRACE_COMMAND_ID); }
    substitute::DialogLayout layout() { return substitute::layOutDialog(window()); }
    const substitute::PlacedControl& placed(const substitute::DialogLayout& laidOut, int32_t id) {
        const substitute::Control* wanted = substitute::findControl(window(), id);
        return laidOut.controls[size_t(wanted - window().controls.data())];
    }

    std::ostringstream shown;
    driver::Output output{shown, driver::Format::Text};
    driver::Session session{output, true};
    std::filesystem::path folder;
};
