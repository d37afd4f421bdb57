#include "unprivileged_child.h"

#ifndef _WIN32

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kit {
namespace {
constexpr uid_t nobody = 65534;

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(fd, text.data() + done, text.size() - done);
        if (written <= 0) return false;
        done += size_t(written);
    }
    return true;
}
}  // namespace

ChildRun runUnprivileged(const std::function<int(std::string& output)>& work) {
    ChildRun run;
    int channel[2];
    if (pipe(channel) != 0) return run;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0)) _exit(125);
        std::string output;
        const int status = work(output);
        _exit(writeAll(channel[1], output) ? status : 126);
    }
    close(channel[1]);
    if (child < 0) {
        close(channel[0]);
        return run;
    }
    char buffer[4096];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;) run.output.append(buffer, size_t(got));
    close(channel[0]);
    int status = 0;
    if (waitpid(child, &status, 0) == child && WIFEXITED(status)) run.status = WEXITSTATUS(status);
    return run;
}

}  // namespace kit

#endif
