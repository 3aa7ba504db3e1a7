#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelvane {

// Output text built in memory, with the number formats of the output files.
class TextBuffer {
public:
    void append(std::string_view text) { text_.append(text); }
    void append(char c) { text_.push_back(c); }
    // printf "%lf"
    void appendFixed6(double value);
    void appendUnsigned(uint64_t value);
    // printf "%x" of the whole value
    void appendHex(uint64_t value);

    std::string_view view() const { return text_; }
    size_t size() const { return text_.size(); }
    void clear() { text_.clear(); }
    void reserve(size_t size) { text_.reserve(size); }

private:
    std::string text_;
};

}  // namespace zelvane
