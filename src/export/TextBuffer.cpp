#include "TextBuffer.h"

#include <algorithm>

namespace zelvane {

void TextBuffer::grow(size_t extra) {
    const size_t capacity = std::max({size_t{4096}, 2 * capacity_, size_ + extra});
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0) {
        std::memcpy(data.get(), data_.get(), size_);
    }
    data_ = std::move(data);
    capacity_ = capacity;
}

}  // namespace zelvane
