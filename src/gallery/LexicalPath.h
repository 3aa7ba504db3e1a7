// Paths taken apart by their text alone, without asking the file system:
// "/" and "\" both separate folders, and "." and ".." are resolved by name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

// An absolute path as where it starts and the names below that.
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
