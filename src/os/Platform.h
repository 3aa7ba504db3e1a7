// The few things the converter needs from the operating system. Every path
// is UTF-8 text. Linux takes it as it is; on Windows it becomes UTF-16 here,
// so that any name the file system holds works, whatever the system's code
// page.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace zelvane {

unsigned long currentProcessId();
bool isFolder(const std::string& path);
// Opens an existing file to read its bytes; nullptr with errno set on failure.
std::FILE* openBinaryFile(const std::string& path);
// How a new file takes what is written to it: as text, where on Windows each
// "\n" reaches the file as CR LF, or byte for byte.
enum class FileMode { kText, kBinary };
// Creates a file that is not there yet and opens it for writing. An existing
// file of that name is left alone and the call fails. nullptr with errno set
// on failure.
std::FILE* createFile(const std::string& path, FileMode mode);
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
// Moves an open file's position size bytes on; false when the system cannot
// (a pipe, or a size beyond what a seek takes).
bool seekForward(std::FILE* file, uint64_t size);

// What tells one file from another: equal for two paths that lead to the
// same file. All 0 when the file cannot be reached.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};
FileIdentity identityOf(const std::string& path);

}  // namespace zelvane
