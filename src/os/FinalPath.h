// Where a path finally leads once its symbolic links are followed.
#pragma once

#include <string>

namespace zelvane {

// The file that writing to path would write to: path itself when it is not
// a link, else the end of its chain of links, which may not exist yet (a
// dangling link). A relative link target counts from the link's folder.
// False with errno set (ELOOP for a loop or too long a chain).
bool findFinalPath(const std::string& path, std::string& finalPath);

}  // namespace zelvane
