#include "TextBuffer.h"

#include <algorithm>

namespace zelvane {
namespace {

// Buffers this large are filled in one go by the writers: they come in 2 MiB
// pages, like the model's arrays. Smaller ones, such as a file's buffer that
// may only ever hold a few lines, come from the heap, which maps only the
// pages written.
constexpr size_t kFilledTextBytes = size_t{2} << 20;

}  // namespace

char* TextBuffer::allocateText(size_t bytes) {
    return bytes >= kFilledTextBytes ? static_cast<char*>(allocateLarge(bytes)) : new char[bytes];
}

void TextBuffer::Release::operator()(char* data) const {
    if (bytes >= kFilledTextBytes) {
        releaseLarge(data, bytes);
    } else {
        delete[] data;
    }
}

void TextBuffer::grow(size_t extra) {
    const size_t capacity = std::max({size_t{4096}, 2 * capacity_, size_ + extra});
    std::unique_ptr<char[], Release> data(allocateText(capacity), Release{capacity});
    if (size_ > 0) {
        std::memcpy(data.get(), data_.get(), size_);
    }
    data_ = std::move(data);
    capacity_ = capacity;
}

}  // namespace zelvane
