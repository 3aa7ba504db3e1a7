#include "ErrorLines.h"

namespace zelvane {

std::string errorLine(std::string_view what) {
    std::string line = "zelvane: ";
    line += what;
    line += '\n';
    return line;
}

std::string errorLine(std::string_view path, std::string_view reason) {
    std::string what(path);
    what += ": ";
    what += reason;
    return errorLine(what);
}

}  // namespace zelvane
