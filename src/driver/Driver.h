#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zelvane {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFailure = 2;

// One run of the converter: the arguments after the program name, the
// console streams; returns the exit status.
int runZelvane(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace zelvane
