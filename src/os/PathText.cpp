#include "PathText.h"

#include <algorithm>

namespace zelvane {
namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool startsWithDrive(std::string_view path) {
    return path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':';
}

bool startsWithShare(std::string_view path) {
    return path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]);
}

// The next name of rest, after any separators, taken off rest.
std::string_view takeName(std::string_view& rest) {
    while (!rest.empty() && isSeparator(rest.front())) {
        rest.remove_prefix(1);
    }
    const std::string_view name = rest.substr(0, std::min(rest.find_first_of("/\\"), rest.size()));
    rest.remove_prefix(name.size());
    return name;
}

// Adds the names of text below those already in path: "." adds nothing,
// ".." goes up a folder but not above the root.
void appendNames(LexicalPath& path, std::string_view text) {
    while (!text.empty()) {
        const std::string_view name = takeName(text);
        if (name == "..") {
            if (!path.names.empty()) {
                path.names.pop_back();
            }
        } else if (!name.empty() && name != ".") {
            path.names.emplace_back(name);
        }
    }
}

// The root a current folder starts with, taken off the folder.
std::string takeRoot(std::string_view& folder) {
    if (startsWithDrive(folder)) {
        const char letter = folder[0];
        folder.remove_prefix(2);
        return {letter >= 'a' ? static_cast<char>(letter - 'a' + 'A') : letter, ':'};
    }
    if (startsWithShare(folder)) {
        const std::string_view server = takeName(folder);
        const std::string_view share = takeName(folder);
        return "//" + std::string(server) + "/" + std::string(share);
    }
    return std::string(1, '/');
}

// A path that starts at a root: a current folder, a drive or a share.
LexicalPath rootedPath(std::string_view folder) {
    LexicalPath path;
    path.windows = startsWithDrive(folder) || startsWithShare(folder);
    path.root = takeRoot(folder);
    appendNames(path, folder);
    return path;
}

// A Windows path: a share, a drive with or without a separator after it
// (without one it goes on from the current folder when that is on the
// drive, else from the drive's root), a separator (the current drive's or
// share's root), or a path relative to the current folder.
LexicalPath windowsPath(std::string_view path, const LexicalPath& current) {
    if (startsWithShare(path)) {
        return rootedPath(path);
    }
    LexicalPath result = current;
    if (startsWithDrive(path)) {
        const LexicalPath drive = rootedPath(path.substr(0, 2));
        path.remove_prefix(2);
        if (!sameRoot(drive, current) || (!path.empty() && isSeparator(path.front()))) {
            result = drive;
        }
    } else if (!path.empty() && isSeparator(path.front())) {
        result.names.clear();
    }
    appendNames(result, path);
    return result;
}

}  // namespace

LexicalPath absoluteLexicalPath(std::string_view path, std::string_view currentFolder) {
    const LexicalPath current = rootedPath(currentFolder);
    if (current.windows) {
        return windowsPath(path, current);
    }
    LexicalPath result = current;
    if (!path.empty() && isSeparator(path.front())) {
        result.names.clear();
    }
    appendNames(result, path);
    return result;
}

bool sameRoot(const LexicalPath& a, const LexicalPath& b) {
    return a.windows == b.windows && sameName(a, a.root, b.root);
}

bool sameName(const LexicalPath& path, std::string_view a, std::string_view b) {
    return path.windows ? equalIgnoringAsciiCase(a, b) : a == b;
}

}  // namespace zelvane
