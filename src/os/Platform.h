// The few things the converter needs from the operating system.
#pragma once

#include <cstdio>
#include <string>

namespace zelvane {

unsigned long currentProcessId();
bool isFolder(const std::string& path);
bool pathExists(const std::string& path);
// Creates a file that is not there yet and opens it for writing text: on
// Windows each "\n" reaches the file as CR LF. An existing file of that name
// is left alone and the call fails. nullptr with errno set on failure.
std::FILE* createTextFile(const std::string& path);
// Renames from onto to, replacing a file that is there; false with errno set on failure.
bool replaceFile(const std::string& from, const std::string& to);

}  // namespace zelvane
