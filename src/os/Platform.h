// The few things the converter needs from the operating system. Every path
// is UTF-8 text. Linux takes it as it is; on Windows it becomes UTF-16 here,
// so that any name the file system holds works, whatever the system's code
// page.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zelvane {

unsigned long currentProcessId();
bool isFolder(const std::string& path);
bool pathExists(const std::string& path);
// Opens an existing file to read its bytes; nullptr with errno set on failure.
std::FILE* openBinaryFile(const std::string& path);
// Creates a file that is not there yet and opens it for writing text: on
// Windows each "\n" reaches the file as CR LF. An existing file of that name
// is left alone and the call fails. nullptr with errno set on failure.
std::FILE* createTextFile(const std::string& path);
// Renames from onto to, replacing a file that is there; false with errno set on failure.
bool replaceFile(const std::string& from, const std::string& to);

// What an open file is; the size only for a regular file.
struct FileStatus {
    bool folder = false;
    bool regular = false;
    uint64_t size = 0;
};
// All false when the system cannot tell.
FileStatus statusOf(std::FILE* file);

#ifdef _WIN32
// The program's arguments, after its own name, in UTF-8.
std::vector<std::string> utf8Arguments(int argc, wchar_t** argv);
#endif

}  // namespace zelvane
