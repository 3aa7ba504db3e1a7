#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zelvane::mag5 {

// Reads a file front to back through one large buffer. Every read states how
// many bytes it wants and gets them all or nothing; the reader never hands
// out bytes beyond the end of the file.
class ByteReader {
public:
    static constexpr size_t kBufferSize = size_t{256} << 10;  // stays in cache between read and parse

    explicit ByteReader(size_t bufferSize = kBufferSize) : bufferSize_(bufferSize) {}

    // Opens the file; on failure returns the system's text for the error.
    std::string open(const std::string& path);

    // The next size bytes (at most the buffer size), valid until the next call,
    // or nullptr when the file ends first or cannot be read.
    const uint8_t* take(size_t size);
    // Up to size bytes ahead (at most the buffer size) without taking them:
    // fewer only where the file ends or cannot be read.
    std::span<const uint8_t> peek(size_t size);
    // Every byte not yet taken, to the file's end; false when the file
    // cannot be read.
    bool takeRest(std::vector<uint8_t>& bytes);
    // Steps over size bytes; false when the file ends first or cannot be read.
    bool skip(uint64_t size);

    // How many bytes were taken or skipped from the file's start.
    uint64_t offset() const { return offset_; }
    // Bytes not yet taken, when the file's size is known (a regular file);
    // otherwise as many as a count could ask for.
    uint64_t remaining() const;
    // Whether the file is known to hold count more records of recordSize
    // bytes: a count worth allocating for. Never for a stream of unknown size.
    bool holds(uint64_t count, size_t recordSize) const {
        return fileSize_ != UINT64_MAX && count <= remaining() / recordSize;
    }
    // Why the last take or skip failed: empty when the file simply ended.
    std::string readError() const;

private:
    bool fill(size_t size);
    bool discard(uint64_t size);

    struct FileCloser {
        void operator()(FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<FILE, FileCloser> file_;
    size_t bufferSize_;
    std::vector<uint8_t> buffer_;
    size_t begin_ = 0;  // buffered bytes lie in [begin_, end_)
    size_t end_ = 0;
    uint64_t offset_ = 0;  // file offset of buffer_[begin_]
    uint64_t fileSize_ = UINT64_MAX;
    int readErrno_ = 0;
};

}  // namespace zelvane::mag5
