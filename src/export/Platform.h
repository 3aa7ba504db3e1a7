// The few things the output writing needs from the operating system.
#pragma once

#include <string>

namespace zelvane {

unsigned long currentProcessId();
bool isFolder(const std::string& path);
// Renames from onto to, replacing a file that is there; false with errno set on failure.
bool replaceFile(const std::string& from, const std::string& to);

}  // namespace zelvane
