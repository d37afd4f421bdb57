// A child process without the right to read everything, for tests of files
// and folders that cannot be read: run as root, the child gives up root's
// rights and becomes the user nobody, so that permissions bind it. POSIX only.
#pragma once

#ifndef _WIN32

#include <functional>
#include <string>

namespace kit {

struct ChildRun {
    int status = -1;     // work's answer; -1 when the child did not end normally
    std::string output;  // what work put there
};

// Runs work in a forked child and waits for it.
ChildRun runUnprivileged(const std::function<int(std::string& output)>& work);

}  // namespace kit

#endif
