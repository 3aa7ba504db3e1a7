#include "OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "Interrupts.h"

namespace zelvane {

OutputFile::OutputFile(std::string path, std::string temporarySuffix, FileMode mode, const FileCalls& calls)
    : path_(std::move(path)), temporarySuffix_(std::move(temporarySuffix)), mode_(mode), calls_(calls),
      replacement_(calls) {}

bool OutputFile::open() {
    // Never reuses a file that is already there.
    if (!replacement_.create(path_, temporarySuffix_, mode_)) {
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
    // An interrupt on Windows closes every watched stream on the thread that
    // leaves: not one that another thread is writing to.
    const InterruptDeferral deferral;
    if (calls_.write(replacement_.stream(), bytes.data(), bytes.size()) != bytes.size()) {
        errno_ = errno != 0 ? errno : EIO;
    }
}

void OutputFile::flush() {
    leaveIfInterrupted();
    writeBytes(text_.view());
    text_.clear();
}

void OutputFile::write(std::string_view text) {
    flush();
    writeBytes(text);
}

bool OutputFile::close() {
    if (replacement_.stream() == nullptr) {
        return errno_ == 0;
    }
    flush();
    if (!replacement_.closeStream() && errno_ == 0) {
        errno_ = errno;
    }
    text_ = TextBuffer();  // a run may hold many closed files
    return errno_ == 0;
}

std::string OutputFile::failure() const {
    return std::strerror(errno_ != 0 ? errno_ : EIO);
}

}  // namespace zelvane
