// The program's entry point is the system's: main, or on Windows wmain, where
// the arguments come as UTF-16, as the user typed them (the narrow argv would
// hold them in the system's code page, where other characters are lost). It
// readies the console and calls runProgram, which the program defines, with
// the arguments after the program's own name, in UTF-8.
#pragma once

#include <string>
#include <vector>

namespace zelvane {

// The exit status of the run.
int runProgram(const std::vector<std::string>& arguments);

}  // namespace zelvane
