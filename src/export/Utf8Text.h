// Reading UTF-8 in texts that come from model files, which may hold any bytes.
#pragma once

#include <cstdint>
#include <string_view>

namespace zelvane {

// The length of the well-formed UTF-8 sequence of a Unicode scalar value
// that starts at text[start], with that value in codePoint, or 0 when the
// bytes there are not one.
inline size_t utf8SequenceLength(std::string_view text, size_t start, uint32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(text[start]);
    const size_t length = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || length > text.size() - start) {
        return 0;
    }
    codePoint = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[start + k]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = codePoint << 6 | (next & 0x3F);
    }
    constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid =
        codePoint >= kSmallest[length] && codePoint <= 0x10FFFF && !(codePoint >= 0xD800 && codePoint <= 0xDFFF);
    return valid ? length : 0;
}

}  // namespace zelvane
