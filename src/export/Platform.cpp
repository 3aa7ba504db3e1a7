#include "Platform.h"

#include <cstdio>

#ifdef _WIN32
#include <process.h>
#include <windows.h>

#include <cerrno>
#else
#include <unistd.h>
#endif

namespace zelvane {

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
