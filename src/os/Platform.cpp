#include "Platform.h"

#include <sys/stat.h>

#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <windows.h>

#include "WidePath.h"
#else
#include <unistd.h>
#endif

namespace zelvane {
namespace {

#ifdef _WIN32
using StatBuffer = struct _stat64;  // 64-bit sizes, as struct stat there has not
#else
using StatBuffer = struct stat;
#endif

FileStatus fileStatusFrom(const StatBuffer& status) {
    FileStatus result;
    result.folder = S_ISDIR(status.st_mode);
    result.regular = S_ISREG(status.st_mode);
    result.size = result.regular ? static_cast<uint64_t>(status.st_size) : 0;
    return result;
}

}  // namespace

#ifdef _WIN32

namespace {

bool readStatus(const std::string& path, StatBuffer& status) {
    return _wstat64(widePath(path).c_str(), &status) == 0;
}

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

// Opening a folder fails there as "Permission denied": say what it is.
std::FILE* openBinaryFile(const std::string& path) {
    if (isFolder(path)) {
        errno = EISDIR;
        return nullptr;
    }
    return _wfopen(widePath(path).c_str(), L"rb");
}

// The C runtime's fopen takes no "x", so the file is created exclusively at
// the descriptor level and then given a stream of the mode asked for.
std::FILE* createFile(const std::string& path, FileMode mode) {
    const bool text = mode == FileMode::kText;
    const int descriptor = _wopen(widePath(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | (text ? _O_TEXT : _O_BINARY),
                                  _S_IREAD | _S_IWRITE);
    if (descriptor < 0) {
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, text ? "wt" : "wb");
    if (file == nullptr) {
        const int error = errno;
        _close(descriptor);
        errno = error;
    }
    return file;
}

bool replaceFile(const std::string& from, const std::string& to) {
    if (MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING) == 0) {
        errno = errnoFor(GetLastError());
        return false;
    }
    return true;
}

FileStatus statusOf(std::FILE* file) {
    StatBuffer status {};
    return _fstat64(_fileno(file), &status) == 0 ? fileStatusFrom(status) : FileStatus{};
}

bool seekForward(std::FILE* file, uint64_t size) {
    return size <= static_cast<uint64_t>(INT64_MAX) && _fseeki64(file, static_cast<__int64>(size), SEEK_CUR) == 0;
}

FileIdentity identityOf(const std::string& path) {
    const HANDLE file = CreateFileW(widePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    BY_HANDLE_FILE_INFORMATION information {};
    const bool known = GetFileInformationByHandle(file, &information) != 0;
    CloseHandle(file);
    if (!known) {
        return {};
    }
    return {information.dwVolumeSerialNumber,
            uint64_t{information.nFileIndexHigh} << 32 | information.nFileIndexLow};
}

#else

namespace {

bool readStatus(const std::string& path, StatBuffer& status) {
    return stat(path.c_str(), &status) == 0;
}

}  // namespace

unsigned long currentProcessId() {
    return static_cast<unsigned long>(getpid());
}

std::FILE* openBinaryFile(const std::string& path) {
    return std::fopen(path.c_str(), "rb");
}

std::FILE* createFile(const std::string& path, FileMode mode) {
    // "x": fail when the path exists
    return std::fopen(path.c_str(), mode == FileMode::kText ? "wx" : "wbx");
}

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

FileStatus statusOf(std::FILE* file) {
    StatBuffer status {};
    return fstat(fileno(file), &status) == 0 ? fileStatusFrom(status) : FileStatus{};
}

bool seekForward(std::FILE* file, uint64_t size) {
    return size <= static_cast<uint64_t>(INT64_MAX) && fseeko(file, static_cast<off_t>(size), SEEK_CUR) == 0;
}

FileIdentity identityOf(const std::string& path) {
    StatBuffer status {};
    if (!readStatus(path, status)) {
        return {};
    }
    return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

#endif

bool isFolder(const std::string& path) {
    StatBuffer status {};
    return readStatus(path, status) && S_ISDIR(status.st_mode);
}

}  // namespace zelvane
