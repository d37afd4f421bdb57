// Whole sessions checked against their expected output, in text and JSON.
// Each tests/driver/sessions/NAME.session runs on NAME.scene.json when that
// exists (else on an empty scene) and must print NAME.expected.txt and, with
// --json, NAME.expected.jsonl. UPDATE_GOLDEN=1 writes the expected files anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>

#include "read_file.h"
#include "run_driver.h"

namespace {
namespace fs = std::filesystem;

const fs::path sessions = fs::path(CLEARTRACE_SOURCE_DIR) / "tests" / "driver" / "sessions";

struct GoldenSession {
    const char* name;
    int status;
};
void PrintTo(const GoldenSession& session, std::ostream* out) { *out << session.name; }

// The module's source lines move whenever it is edited: compare console
// events without their line number (the file is still compared).
std::string withoutSourceLines(const std::string& output) {
    static const std::regex line(R"(("event":"console".*"line":)[0-9]+\})");
    return std::regex_replace(output, line, "$1N}");
}

class GoldenSessionTest : public ::testing::TestWithParam<GoldenSession> {};

TEST_P(GoldenSessionTest, PrintsTheExpectedOutput) {
    const std::string name = GetParam().name;
    // Relative names keep absolute build paths out of the output.
    WorkingFolder here(sessions);
    std::vector<std::string> args = {"--script", name + ".session"};
    if (fs::exists(name + ".scene.json")) args.push_back(name + ".scene.json");

    for (bool json : {false, true}) {
        SCOPED_TRACE(json ? "json" : "text");
        std::vector<std::string> runArgs = args;
        if (json) runArgs.insert(runArgs.begin(), "--json");
        DriverRun run = runDriver(runArgs);
        EXPECT_EQ(run.status, GetParam().status);
        EXPECT_EQ(run.errors, "");
        const fs::path expected = name + (json ? ".expected.jsonl" : ".expected.txt");
        const char* update = std::getenv("UPDATE_GOLDEN");
        if (update != nullptr && std::string(update) == "1") {
            std::ofstream(expected, std::ios::binary) << run.output;
        }
        EXPECT_EQ(withoutSourceLines(run.output), withoutSourceLines(kit::readFile(expected)))
            << "UPDATE_GOLDEN=1 rewrites " << (sessions / expected).string();
    }
}

INSTANTIATE_TEST_SUITE_P(Sessions, GoldenSessionTest,
                         ::testing::Values(GoldenSession{"dialog_window", 0}, GoldenSession{"tags_remove_undo", 0},
                                           GoldenSession{"shaders_objects", 0}, GoldenSession{"identify", 0},
                                           GoldenSession{"disabled_control", 1}, GoldenSession{"folder_search", 0}),
                         [](const auto& named) { return std::string(named.param.name); });

}  // namespace
