// Paths are byte strings taken as given; "/" and "\" both separate folders.
#pragma once

#include <string>
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

// The path without separators at its end, but for those of a root ("/",
// "C:\\"): Windows inspects and makes no folder by a name that ends in one.
inline std::string_view withoutTrailingSeparators(std::string_view path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\') && !(path.size() == 3 && path[1] == ':')) {
        path.remove_suffix(1);
    }
    return path;
}

// Names from a system that ignores letter case compare without regard to
// the case of ASCII letters; other characters stand for themselves.
inline char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiLowered(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = asciiLower(c);
    }
    return lower;
}

inline bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && asciiLowered(a) == asciiLowered(b);
}

}  // namespace zelvane
