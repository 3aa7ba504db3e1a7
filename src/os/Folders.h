// Folders for converting many models in one run: listing them, creating
// them, and what the run may use of the machine and the console.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace zelvane {

struct FolderEntry {
    std::string name;
    bool folder = false;  // a folder itself, not a link to one
    bool file = false;    // a regular file, or a link to one
};

// The entries of a folder, "." and ".." left out, in no particular order.
// False with errno set.
bool listFolder(const std::string& path, std::vector<FolderEntry>& entries);

// Creates a folder and the missing ones above it; true when it is there.
// False with errno set.
bool createFolders(const std::string& path);

// The paths of the files that a name with "*" or "?" in its last part
// matches, as Windows matches them, in name order; empty elsewhere and for
// a name without them.
std::vector<std::string> expandWildcard(const std::string& pattern);

bool isTerminal(std::FILE* stream);

// The processors this process may run on.
unsigned availableCores();

// The absolute path of the current folder; "" when the system cannot tell.
std::string currentFolder();

}  // namespace zelvane
