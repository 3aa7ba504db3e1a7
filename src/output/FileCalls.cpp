#include "FileCalls.h"

#include <cerrno>

#include "os/ReplaceCalls.h"

namespace zelvane {
namespace {

size_t writeBytes(std::FILE* file, const char* bytes, size_t size) {
    return std::fwrite(bytes, 1, size, file);
}

// The first failure's errno, of the flush or of the close.
bool closeFile(std::FILE* file) {
    const bool flushed = std::fflush(file) == 0;
    const int error = errno;
    const bool closed = std::fclose(file) == 0;
    if (!flushed) {
        errno = error;
    }
    return flushed && closed;
}

}  // namespace

const FileCalls& systemFileCalls() {
    static constexpr FileCalls kSystem{createFile, keepPermissions, writeBytes, closeFile,
                                       exchangeFiles, linkFile, replaceFile, removeFile};
    return kSystem;
}

}  // namespace zelvane
