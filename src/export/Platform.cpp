#include "Platform.h"

#include <sys/stat.h>

#include <cstdio>

#ifdef _WIN32
#include <process.h>
#include <windows.h>

#include <cerrno>
#else
#include <unistd.h>
#endif

namespace zelvane {

bool isFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

#ifdef _WIN32

unsigned long currentProcessId() {
    return static_cast<unsigned long>(_getpid());
}

bool replaceFile(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) == 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

#else

unsigned long currentProcessId() {
    return static_cast<unsigned long>(getpid());
}

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

#endif

}  // namespace zelvane
