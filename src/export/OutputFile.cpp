#include "OutputFile.h"

#include "os/Platform.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace zelvane {

OutputFile::OutputFile(std::string path, std::string temporaryPath)
    : path_(std::move(path)), temporaryPath_(std::move(temporaryPath)) {}

OutputFile::~OutputFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool OutputFile::open() {
    // Never reuse a file that is already there.
    file_ = createTextFile(temporaryPath_);
    if (file_ == nullptr) {
        errno_ = errno;
        return false;
    }
    text_.reserve(kFlushSize + kFlushSize / 8);  // room for the last line before a flush
    return true;
}

void OutputFile::writeBytes(std::string_view bytes) {
    if (errno_ != 0 || bytes.empty()) {
        return;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        errno_ = errno != 0 ? errno : EIO;
    }
}

void OutputFile::flush() {
    writeBytes(text_.view());
    text_.clear();
}

void OutputFile::write(std::string_view text) {
    flush();
    writeBytes(text);
}

bool OutputFile::close() {
    if (file_ == nullptr) {
        return errno_ == 0;
    }
    flush();
    if (std::fflush(file_) != 0 && errno_ == 0) {
        errno_ = errno;
    }
    if (std::fclose(std::exchange(file_, nullptr)) != 0 && errno_ == 0) {
        errno_ = errno;
    }
    text_ = TextBuffer();  // a run may hold many closed files
    return errno_ == 0;
}

std::string OutputFile::failure() const {
    return std::strerror(errno_ != 0 ? errno_ : EIO);
}

}  // namespace zelvane
