#include "ByteReader.h"

#include <cerrno>
#include <algorithm>
#include <cstring>

#include "os/Platform.h"

namespace zelvane::mag5 {

std::string ByteReader::open(const std::string& path) {
    file_.reset(openBinaryFile(path));
    if (!file_) {
        return std::strerror(errno);
    }
    const FileStatus status = statusOf(file_.get());
    if (status.folder) {
        return std::strerror(EISDIR);
    }
    if (status.regular) {
        fileSize_ = status.size;
    }
    buffer_.resize(bufferSize_);
    return {};
}

uint64_t ByteReader::remaining() const {
    return fileSize_ == UINT64_MAX ? UINT64_MAX : fileSize_ - offset_;
}

std::string ByteReader::readError() const {
    return readErrno_ == 0 ? std::string() : std::strerror(readErrno_);
}

// Makes at least size bytes available from begin_, moving the unread tail to
// the front of the buffer first.
bool ByteReader::fill(size_t size) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    while (end_ < size) {
        const size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.get());
        if (got == 0) {
            readErrno_ = std::ferror(file_.get()) ? (errno != 0 ? errno : EIO) : 0;
            return false;
        }
        end_ += got;
    }
    return true;
}

const uint8_t* ByteReader::take(size_t size) {
    if (end_ - begin_ < size && (size > buffer_.size() || !fill(size))) {
        return nullptr;
    }
    const uint8_t* bytes = buffer_.data() + begin_;
    begin_ += size;
    offset_ += size;
    return bytes;
}

std::span<const uint8_t> ByteReader::peek(size_t size) {
    size = std::min(size, buffer_.size());
    if (end_ - begin_ < size) {
        fill(size);
    }
    return {buffer_.data() + begin_, std::min(size, end_ - begin_)};
}

bool ByteReader::takeRest(std::vector<uint8_t>& bytes) {
    bytes.assign(buffer_.begin() + static_cast<ptrdiff_t>(begin_), buffer_.begin() + static_cast<ptrdiff_t>(end_));
    if (fileSize_ != UINT64_MAX && remaining() <= SIZE_MAX) {
        bytes.reserve(static_cast<size_t>(remaining()));
    }
    offset_ += end_ - begin_;
    begin_ = end_ = 0;
    for (;;) {
        const size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
        if (got == 0) {
            readErrno_ = std::ferror(file_.get()) ? (errno != 0 ? errno : EIO) : 0;
            return readErrno_ == 0;
        }
        bytes.insert(bytes.end(), buffer_.begin(), buffer_.begin() + static_cast<ptrdiff_t>(got));
        offset_ += got;
    }
}

bool ByteReader::skip(uint64_t size) {
    if (size > remaining()) {
        return false;
    }
    const size_t buffered = end_ - begin_;
    if (size <= buffered) {
        begin_ += static_cast<size_t>(size);
        offset_ += size;
        return true;
    }
    begin_ = end_ = 0;
    offset_ += buffered;
    return discard(size - buffered);
}

// Moves past bytes that are not in the buffer: a seek in a regular file,
// reading and dropping them otherwise.
bool ByteReader::discard(uint64_t size) {
    if (fileSize_ != UINT64_MAX && seekForward(file_.get(), size)) {
        offset_ += size;
        return true;
    }
    while (size > 0) {
        if (!fill(1)) {
            return false;
        }
        const size_t step = static_cast<size_t>(std::min<uint64_t>(size, end_));
        begin_ = step;
        offset_ += step;
        size -= step;
    }
    return true;
}

}  // namespace zelvane::mag5
