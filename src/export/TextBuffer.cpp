#include "TextBuffer.h"

#include <algorithm>

namespace zelvane {

void TextBuffer::grow(size_t extra) {
    const size_t capacity = std::max({size_t{4096}, 2 * capacity_, size_ + extra});
    std::unique_ptr<char[], LargeRelease> data(static_cast<char*>(allocateLarge(capacity)), LargeRelease{capacity});
    if (size_ > 0) {
        std::memcpy(data.get(), data_.get(), size_);
    }
    data_ = std::move(data);
    capacity_ = capacity;
}

}  // namespace zelvane
