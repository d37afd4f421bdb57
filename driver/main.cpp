// cleartrace-host: the command-line driver over the substitute host.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "framework/validate.h"
#include "program.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes on every platform: no "\r\n" for "\n".
    _setmode(_fileno(stdout), _O_BINARY);
    bool terminal = _isatty(_fileno(stdin)) != 0;
#else
    bool terminal = isatty(STDIN_FILENO) != 0;
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    // Installed, the driver lies in bin/ beside the Cleartrace/ folder, and the
    // build it came from may be gone: then it loads the installed module
    // (a --module given later still wins).
    std::error_code error;
    const std::filesystem::path built = CLEARTRACE_MODULE_FILE;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) program = std::filesystem::absolute(argv[0], error);
    const std::filesystem::path installed = program.parent_path().parent_path() / "Cleartrace" / built.filename();
    const bool validating = !args.empty() && args.front() == "validate";
    if (!std::filesystem::exists(built, error) && std::filesystem::exists(installed, error)) {
        args.insert(args.begin() + (validating ? 1 : 0), {"--module", installed.string()});
    }
    if (validating) {
        return validator::runValidate({args.begin() + 1, args.end()}, argv[0], std::cout, std::cerr);
    }
    return driver::runProgram(args, std::cin, terminal, std::cout, std::cerr);
}
