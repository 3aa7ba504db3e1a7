#include "FinalPath.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>

#include "WidePath.h"
#else
#include <sys/stat.h>
#include <unistd.h>

#include <vector>
#endif

namespace zelvane {

#ifdef _WIN32

namespace {

// Closes a handle when it goes out of scope.
class HandleCloser {
public:
    explicit HandleCloser(HANDLE handle) : handle_(handle) {}
    ~HandleCloser() { CloseHandle(handle_); }
    HandleCloser(const HandleCloser&) = delete;
    HandleCloser& operator=(const HandleCloser&) = delete;

private:
    HANDLE handle_;
};

}  // namespace

// The system follows the links when the file is opened and names the file it
// reached. A path that cannot be opened (absent, or a dangling link, which
// this side does not follow) is written as it is.
bool findFinalPath(const std::string& path, std::string& finalPath) {
    finalPath = path;
    const HANDLE file = CreateFileW(widePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_CANT_RESOLVE_FILENAME) {
            errno = ELOOP;
            return false;
        }
        return true;
    }
    HandleCloser closer(file);
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return true;  // no name the other calls could use: keep the path as given
        }
        if (length < name.size()) {
            name.resize(length);
            finalPath = narrowPath(name);
            return true;
        }
        name.resize(length);  // the size needed, with its terminating NUL
    }
}

#else

namespace {

// Linux gives up after as many links as this; so does the converter.
constexpr int kMaxLinks = 40;

bool readLink(const std::string& path, std::string& target) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            return false;
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            target.assign(buffer.data(), static_cast<size_t>(length));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

bool findFinalPath(const std::string& path, std::string& finalPath) {
    finalPath = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat status {};
        // Not there, or not to be looked at: creating the file beside it will
        // say why.
        if (lstat(finalPath.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return true;
        }
        std::string target;
        if (!readLink(finalPath, target)) {
            return false;
        }
        if (target.starts_with('/')) {
            finalPath = target;
        } else {
            finalPath.erase(finalPath.find_last_of('/') + 1);  // the link's folder; npos + 1 erases it all
            finalPath += target;
        }
    }
    errno = ELOOP;
    return false;
}

#endif

}  // namespace zelvane
