// Paths as text, without asking the file system. Paths are byte strings
// taken as given (UTF-8 names pass through untouched); "/" and "\" both
// separate folders, on every system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

inline bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

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
    while (path.size() > 1 && isSeparator(path.back()) && !(path.size() == 3 && path[1] == ':')) {
        path.remove_suffix(1);
    }
    return path;
}

// name inside folder: "/" between them unless folder is empty ("" is the
// current folder) or already ends in a separator.
inline std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && !isSeparator(path.back())) {
        path += '/';
    }
    path += name;
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

// An absolute path taken apart by its text alone: "." and ".." are resolved
// by name, as where it starts and the names below that.
struct LexicalPath {
    // "/" on POSIX; on Windows "C:" for a drive (upper case) or
    // "//server/share" for a network share.
    std::string root;
    std::vector<std::string> names;
    // Whether the path is a Windows one, where letter case does not tell
    // names apart.
    bool windows = false;
};

// path made absolute against currentFolder, itself absolute. The current
// folder also tells which system the paths are of: one that starts with a
// drive ("C:\") or a share ("\\server\share") is a Windows folder, and then
// so are drives and shares in path; anything else is a POSIX folder, where
// "C:" is a name like any other.
LexicalPath absoluteLexicalPath(std::string_view path, std::string_view currentFolder);

// Whether two paths start from the same drive, share or root.
bool sameRoot(const LexicalPath& a, const LexicalPath& b);
// Whether two names name the same file, by the rule of the paths' system.
bool sameName(const LexicalPath& path, std::string_view a, std::string_view b);

}  // namespace zelvane
