#include "ProgramEntry.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string_view>

#include "ErrorConsole.h"
#include "WidePath.h"

namespace {

std::vector<std::string> utf8Arguments(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int index = 1; index < argc; ++index) {
        const std::wstring_view argument(argv[index]);
        arguments.push_back(zelvane::narrowPath(argument));
    }
    return arguments;
}

}  // namespace

extern "C" int wmain(int argc, wchar_t** argv) {
    // The console output is text like every output file: "\n" goes out as
    // CR LF, whatever mode the runtime was started with.
    _setmode(_fileno(stdout), _O_TEXT);
    _setmode(_fileno(stderr), _O_TEXT);
    const zelvane::ErrorConsole errorConsole;
    return zelvane::runProgram(utf8Arguments(argc, argv));
}

#else

#include <csignal>

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file-size limit, writes fail with an error the converter reports
    // and cleans up after, instead of the process being killed mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    return zelvane::runProgram(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}

#endif
