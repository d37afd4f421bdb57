#include "framework/child_process.h"

#include <array>
#include <cstdio>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace validator {
namespace {
bool needsQuotes(const std::string& word) {
    if (word.empty()) return true;
    for (char c : word) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           std::string_view("-_./:=,+@%\\").find(c) != std::string_view::npos;
        if (!plain) return true;
    }
    return false;
}

std::string quoted(const std::string& word) {
    if (!needsQuotes(word)) return word;
#ifdef _WIN32
    return '"' + word + '"';
#else
    std::string text = "'";
    for (char c : word) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
#endif
}
}  // namespace

std::string commandLine(const std::vector<std::string>& command) {
    std::string line;
    for (const std::string& word : command) line += (line.empty() ? "" : " ") + quoted(word);
    return line;
}

ChildRun runChild(const std::vector<std::string>& command) {
    ChildRun run;
#ifdef _WIN32
    // cmd.exe drops the outermost quotes of the whole line.
    std::string line = "\"" + commandLine(command) + " 2>&1\"";
    FILE* pipe = _popen(line.c_str(), "rb");
#else
    std::string line = commandLine(command) + " 2>&1";
    FILE* pipe = popen(line.c_str(), "r");
#endif
    if (pipe == nullptr) return run;
    run.started = true;
    std::array<char, 4096> buffer;
    for (size_t read; (read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
        run.output.append(buffer.data(), read);
    }
#ifdef _WIN32
    run.exitStatus = _pclose(pipe);
#else
    const int status = pclose(pipe);
    if (status != -1 && WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
    if (status != -1 && WIFSIGNALED(status)) run.signal = WTERMSIG(status);
#endif
    return run;
}

}  // namespace validator
