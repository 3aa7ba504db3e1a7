// The system calls that put a new file in place of an earlier one. Each takes
// paths prepared beforehand; on POSIX each is one system call and safe in a
// signal handler. False with errno set on failure.
#pragma once

#include <cstdio>
#include <string>

namespace zelvane {

// Swaps two files' names in one step. Fails with ENOSYS where the system
// has no such call and EINVAL where the file system cannot do it.
bool exchangeFiles(const std::string& first, const std::string& second);
// True for an errno of exchangeFiles that means "not here", not "not allowed".
bool exchangeIsUnsupported(int error);
// Gives an existing file a second name.
bool linkFile(const std::string& existing, const std::string& newName);
bool removeFile(const std::string& path);
// True when path names a device, a pipe or a socket: a file put in its
// place would not go where writing to it goes.
bool isSpecialFile(const std::string& path);
// Gives a file being written the permission bits of the file it is to
// replace; nothing to do when there is none (or, on Windows, ever).
bool keepPermissions(const std::string& replaced, std::FILE* file);

}  // namespace zelvane
