#include "Platform.h"

#include <sys/stat.h>

#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace zelvane {

bool isFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool pathExists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
}

#ifdef _WIN32

namespace {

// The errno value closest to a failed file operation's Windows error code.
int errnoFor(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return ENOENT;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        default:  // access denied, sharing violation, a folder in the way
            return EACCES;
    }
}

}  // namespace

unsigned long currentProcessId() {
    return static_cast<unsigned long>(_getpid());
}

// The C runtime's fopen takes no "x", so the file is created exclusively at
// the descriptor level and then given a text-mode stream.
std::FILE* createTextFile(const std::string& path) {
    const int descriptor = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT, _S_IREAD | _S_IWRITE);
    if (descriptor < 0) {
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, "wt");
    if (file == nullptr) {
        const int error = errno;
        _close(descriptor);
        errno = error;
    }
    return file;
}

bool replaceFile(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) == 0) {
        errno = errnoFor(GetLastError());
        return false;
    }
    return true;
}

#else

unsigned long currentProcessId() {
    return static_cast<unsigned long>(getpid());
}

std::FILE* createTextFile(const std::string& path) {
    return std::fopen(path.c_str(), "wx");  // "x": fail when the path exists
}

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

#endif

}  // namespace zelvane
