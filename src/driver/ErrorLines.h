#pragma once

#include <string>
#include <string_view>

namespace zelvane {

// The one form of a line on standard error: "zelvane: <what>\n", where what
// is "<path>: <what is wrong>" for a file at fault.
std::string errorLine(std::string_view what);
std::string errorLine(std::string_view path, std::string_view reason);

}  // namespace zelvane
