#include <iostream>

#include "Driver.h"
#include "os/Folders.h"
#include "os/ProgramEntry.h"
#include "output/Interrupts.h"

int zelvane::runProgram(const std::vector<std::string>& arguments) {
    installInterruptHandlers();
    return runZelvane(arguments, std::cout, std::cerr, isTerminal(stderr));
}
