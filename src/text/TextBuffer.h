#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "NumberFormat.h"
#include "os/LargeAllocator.h"

namespace zelvane {

// Output text built in memory. Writers either append pieces or, on hot
// paths, begin a write with room for a whole line, write it through a
// pointer with the number formats and end the write where the line ends.
class TextBuffer {
public:
    // Where to write up to size more bytes.
    char* beginWrite(size_t size) {
        if (capacity_ - size_ < size) {
            grow(size);
        }
        return data_.get() + size_;
    }
    // Takes the bytes up to end, a pointer into the room beginWrite gave.
    void endWrite(const char* end) { size_ = static_cast<size_t>(end - data_.get()); }

    void append(std::string_view text) {
        if (text.empty()) {
            return;  // an empty buffer has no block to copy into yet
        }
        std::memcpy(beginWrite(text.size()), text.data(), text.size());
        size_ += text.size();
    }
    void append(char c) {
        *beginWrite(1) = c;
        ++size_;
    }
    // printf "%lf"
    void appendFixed6(double value) { endWrite(writeFixed6(beginWrite(kMaxFixed6Chars), value)); }
    // printf "%x" of the whole value
    void appendHex(uint64_t value) { endWrite(writeHex(beginWrite(kMaxHexChars), value)); }

    // Room for capacity bytes in all, as std::string::reserve.
    void reserve(size_t capacity) {
        if (capacity > capacity_) {
            grow(capacity - size_);
        }
    }

    std::string_view view() const { return {data_.get(), size_}; }
    size_t size() const { return size_; }
    void clear() { size_ = 0; }

private:
    void grow(size_t extra);

    // Gives a block back the way allocateText took it.
    struct Release {
        size_t bytes;
        void operator()(char* data) const;
    };
    static char* allocateText(size_t bytes);

    std::unique_ptr<char[], Release> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

}  // namespace zelvane
