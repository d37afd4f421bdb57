// cleartrace-host: the command-line driver over the substitute host.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

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
    return driver::runProgram(args, std::cin, terminal, std::cout, std::cerr);
}
