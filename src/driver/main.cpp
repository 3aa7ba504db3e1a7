#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

#include "Driver.h"
#include "os/Interrupts.h"

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file-size limit, writes fail with an error the converter reports
    // and cleans up after, instead of the process being killed mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef _WIN32
    // The console output is text like every output file: "\n" goes out as
    // CR LF, whatever mode the runtime was started with.
    _setmode(_fileno(stdout), _O_TEXT);
    _setmode(_fileno(stderr), _O_TEXT);
#endif
    zelvane::installInterruptHandlers();
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return zelvane::runZelvane(arguments, std::cout, std::cerr);
}
