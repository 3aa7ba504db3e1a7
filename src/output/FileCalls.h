// The calls to the system that writing an output and putting it in place
// make, in one table: the converter uses the system's own, and tests a
// table that makes any one of them fail.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "os/Platform.h"

namespace zelvane {

// Each returns false (nullptr, or fewer bytes) with errno set on failure.
// The renames and removals take paths prepared beforehand and are, on
// POSIX, one system call each: safe in a signal handler, which undoes a
// replacement with them.
struct FileCalls {
    // Creates a file that is not there yet and opens it for writing.
    std::FILE* (*create)(const std::string& path, FileMode mode);
    // Gives a file being written the permission bits of the one it replaces.
    bool (*keepPermissions)(const std::string& replaced, std::FILE* file);
    size_t (*write)(std::FILE* file, const char* bytes, size_t size);
    // Flushes what is left and closes the file.
    bool (*close)(std::FILE* file);
    // Swaps two files' names in one step (see exchangeIsUnsupported).
    bool (*exchange)(const std::string& first, const std::string& second);
    // Gives an existing file a second name.
    bool (*link)(const std::string& existing, const std::string& newName);
    // Renames from onto to, replacing a file that is there.
    bool (*rename)(const std::string& from, const std::string& to);
    bool (*remove)(const std::string& path);
};

const FileCalls& systemFileCalls();

}  // namespace zelvane
