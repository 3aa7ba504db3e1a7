// Messages on standard error are UTF-8 text, paths included. Written to a
// file or a pipe, and anywhere but on Windows, they go out as those bytes. A
// Windows console would read the bytes in its own code page, so while an
// ErrorConsole lives std::cerr hands it the characters themselves instead.
#pragma once

#include <memory>
#include <streambuf>

namespace zelvane {

class ErrorConsole {
public:
    ErrorConsole();
    ~ErrorConsole();
    ErrorConsole(const ErrorConsole&) = delete;
    ErrorConsole& operator=(const ErrorConsole&) = delete;

private:
    std::unique_ptr<std::streambuf> consoleBuffer_;  // null when std::cerr is left as it is
    std::streambuf* previousBuffer_ = nullptr;
};

}  // namespace zelvane
