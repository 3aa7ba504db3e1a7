#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "Driver.h"

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file-size limit, writes fail with an error the converter reports
    // and cleans up after, instead of the process being killed mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return zelvane::runZelvane(arguments, std::cout, std::cerr);
}
