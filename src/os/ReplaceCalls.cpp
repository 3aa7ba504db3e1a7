#include "ReplaceCalls.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>

#include "WidePath.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zelvane {

bool exchangeIsUnsupported(int error) {
    return error == ENOSYS || error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP;
}

#ifdef _WIN32

// Windows has no exchange of two names: the caller keeps the earlier file
// under a second name instead.
bool exchangeFiles(const std::string&, const std::string&) {
    errno = ENOSYS;
    return false;
}

bool linkFile(const std::string& existing, const std::string& newName) {
    if (CreateHardLinkW(widePath(newName).c_str(), widePath(existing).c_str(), nullptr) == 0) {
        errno = GetLastError() == ERROR_FILE_NOT_FOUND ? ENOENT : EPERM;
        return false;
    }
    return true;
}

bool removeFile(const std::string& path) {
    if (DeleteFileW(widePath(path).c_str()) == 0) {
        errno = GetLastError() == ERROR_FILE_NOT_FOUND ? ENOENT : EACCES;
        return false;
    }
    return true;
}

bool isSpecialFile(const std::string&) {
    return false;
}

bool keepPermissions(const std::string&, std::FILE*) {
    return true;
}

#else

bool exchangeFiles(const std::string& first, const std::string& second) {
#if defined(__linux__) && defined(RENAME_EXCHANGE)
    return renameat2(AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(), RENAME_EXCHANGE) == 0;
#else
    errno = ENOSYS;
    return false;
#endif
}

bool linkFile(const std::string& existing, const std::string& newName) {
    return link(existing.c_str(), newName.c_str()) == 0;
}

bool removeFile(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

bool isSpecialFile(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
}

bool keepPermissions(const std::string& replaced, std::FILE* file) {
    struct stat status {};
    if (stat(replaced.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return true;
    }
    return fchmod(fileno(file), status.st_mode & 0777) == 0;
}

#endif

}  // namespace zelvane
