#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zelvane {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFailure = 2;

// One run of the converter: the arguments after the program name, the
// console streams, and whether standard error is a terminal (for the
// progress of many models); returns the exit status.
int runZelvane(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               bool errorIsTerminal = false);

}  // namespace zelvane
