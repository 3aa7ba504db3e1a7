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
#include "os/ErrorConsole.h"
#include "os/Folders.h"
#include "output/Interrupts.h"
#include "os/Platform.h"

#ifdef _WIN32

// The arguments come as UTF-16, as the user typed them: the narrow argv would
// hold them in the system's code page, where other characters are lost.
extern "C" int wmain(int argc, wchar_t** argv) {
    // The console output is text like every output file: "\n" goes out as
    // CR LF, whatever mode the runtime was started with.
    _setmode(_fileno(stdout), _O_TEXT);
    _setmode(_fileno(stderr), _O_TEXT);
    const zelvane::ErrorConsole errorConsole;
    zelvane::installInterruptHandlers();
    return zelvane::runZelvane(zelvane::utf8Arguments(argc, argv), std::cout, std::cerr, zelvane::isTerminal(stderr));
}

#else

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file-size limit, writes fail with an error the converter reports
    // and cleans up after, instead of the process being killed mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    zelvane::installInterruptHandlers();
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return zelvane::runZelvane(arguments, std::cout, std::cerr, zelvane::isTerminal(stderr));
}

#endif
