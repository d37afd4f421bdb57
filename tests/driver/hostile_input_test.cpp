// The driver under input that is wrong by accident or on purpose: what is not
// a regular file, more than the size limit, names that would break the
// text output, and a save that fails half-way.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <csignal>
#include <fstream>

#include "read_file.h"
#include "run_driver.h"

namespace {
namespace fs = std::filesystem;

class HostileInput : public ::testing::Test {
protected:
    fs::path folder =
        fs::temp_directory_path() /
        ("cleartrace-driver-hostile-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }
};

#ifndef _WIN32
// Devices, pipes and file size limits as a POSIX system has them.
TEST_F(HostileInput, FilesThatAreNotRegularOrTooLargeAreRefused) {
    const fs::path fifo = folder / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--script", folder.string()}, "error: cannot read the script: " + folder.string() + " is not a regular file"},
        {{"--script", "/dev/zero"}, "error: cannot read the script: /dev/zero is not a regular file"},
        {{"--script", fifo.string()}, "error: cannot read the script: " + fifo.string() + " is not a regular file"},
        {{"-c", "open", "/dev/zero"}, "error: cannot load the scene: /dev/zero is not a regular file"},
        {{"-c", "open", "--input-limit", "100", exampleScene.string()},
         "error: cannot load the scene: " + exampleScene.string() + " is larger than 100 bytes"},
    };
    for (const auto& [args, error] : cases) {
        DriverRun run = runDriver(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.output.find(error + "\n"), std::string::npos) << run.output;
    }
    DriverRun piped = runDriver({"--input-limit", "10"}, "open\nopen\nopen\n");
    EXPECT_EQ(piped.status, 1);
    EXPECT_NE(piped.output.find("error: standard input is larger than 10 bytes"), std::string::npos);
    EXPECT_EQ(runDriver({"--input-limit", "lots"}).errors.substr(0, 67),
              "cleartrace-host: --input-limit takes a number of bytes, not \"lots\"\n");
}
#endif

TEST_F(HostileInput, NamesWithControlCharactersKeepTheTextOutputInShape) {
    const fs::path scene = folder / "names.json";
    std::ofstream(scene, std::ios::binary)
        << R"({"plugins": [], "objects": [{"name": "Two\nLines", "type": 5159, "tags": [{"name": "a\tb", "type": 77}]}]})";
    DriverRun run = runDriver({"-c", "open; id 77; process; list; select \"/Two\\\\nLines\"; scene", scene.string()});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("\n  Two\\nLines\ta\\tb\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\n    Two\\nLines [5159] (selected)\n"), std::string::npos) << run.output;

    DriverRun json = runDriver({"--json", "-c", "open; id 77; process; list", scene.string()});
    EXPECT_NE(json.output.find(R"(["Two\nLines","a\tb"])"), std::string::npos) << json.output;
}

#ifndef _WIN32
TEST_F(HostileInput, AFailedSaveLeavesTheEarlierFileAndFails) {
    const fs::path target = folder / "scene.json";
    std::ofstream(target, std::ios::binary) << "earlier";
    // A file size limit makes writing fail as a full disk would.
    struct rlimit before {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    struct rlimit small = before;
    small.rlim_cur = 64;
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    DriverRun run = runDriver({"--save", target.string(), "-c", "open", exampleScene.string()});
    DriverRun command = runDriver({"-c", "save " + target.string() + "; scene", exampleScene.string()});
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("error: cannot save the scene: cannot write " + target.string()), std::string::npos)
        << run.output;
    EXPECT_EQ(command.status, 1);
    EXPECT_EQ(command.output.find("scene:"), std::string::npos) << "a failed save command ends the script";
    EXPECT_EQ(kit::readFile(target), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "no temporary left";

    // Saving over a folder fails at the rename and leaves the folder.
    const fs::path taken = folder / "taken";
    fs::create_directory(taken);
    EXPECT_EQ(runDriver({"--save", taken.string(), "-c", "open", exampleScene.string()}).status, 1);
    EXPECT_TRUE(fs::is_directory(taken));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);

    EXPECT_EQ(runDriver({"--save", target.string(), "-c", "open", exampleScene.string()}).status, 0);
    EXPECT_EQ(kit::readFile(target).substr(0, 13), "{\n  \"plugins\"");
}
#endif

}  // namespace
