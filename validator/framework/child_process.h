// Runs another program and reads what it prints: each check runs in a
// process of its own, so a module that faults or crashes fails that check
// and not the whole validation.
#pragma once

#include <string>
#include <vector>

namespace validator {

struct ChildRun {
    bool started = false;
    int exitStatus = -1;  // the status it exited with; -1 when it did not exit
    int signal = 0;       // the signal that ended it (POSIX only), else 0
    std::string output;   // standard output and standard error, interleaved
};

ChildRun runChild(const std::vector<std::string>& command);

// The command as a user would type it in a shell.
std::string commandLine(const std::vector<std::string>& command);

}  // namespace validator
