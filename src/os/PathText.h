// Paths are byte strings taken as given; "/" and "\" both separate folders.
#pragma once

#include <string_view>

namespace zelvane {

// The text after the last separator: the whole path when there is none.
inline std::string_view fileNamePart(std::string_view path) {
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// The text up to and including the last separator: empty when there is none.
inline std::string_view folderPart(std::string_view path) {
    return path.substr(0, path.size() - fileNamePart(path).size());
}

}  // namespace zelvane
