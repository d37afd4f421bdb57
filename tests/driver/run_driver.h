// Runs cleartrace-host in-process, with its output captured.
#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "program.h"

struct DriverRun {
    int status = 0;
    std::string output;  // standard output
    std::string errors;  // standard error
};

inline DriverRun runDriver(const std::vector<std::string>& args, const std::string& input = {}, bool terminal = false) {
    std::istringstream in(input);
    std::ostringstream out, err;
    DriverRun run;
    run.status = driver::runProgram(args, in, terminal, out, err);
    run.output = out.str();
    run.errors = err.str();
    return run;
}

inline const std::filesystem::path exampleScene =
    std::filesystem::path(CLEARTRACE_SOURCE_DIR) / "example_scenes" / "legacy_plugins.json";

// Makes folder the working folder for the life of the object.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolder() { std::filesystem::current_path(previous_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::filesystem::path previous_;
};
