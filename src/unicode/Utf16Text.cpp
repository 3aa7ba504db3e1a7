#include "Utf16Text.h"

#include "Utf8Text.h"

namespace zelvane {
namespace {

constexpr char32_t kFirstSupplementary = 0x10000;

bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendUtf16(std::u16string& out, char32_t code) {
    if (code < kFirstSupplementary) {
        out.push_back(static_cast<char16_t>(code));
        return;
    }
    code -= kFirstSupplementary;
    out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
}

// The three bytes that utf8FromUtf16 makes of a surrogate without its
// partner (ED A0-BF 80-BF), which are not UTF-8: such a unit, or 0.
char32_t loneSurrogateAt(std::string_view text, size_t index) {
    if (text.size() - index < 3 || static_cast<unsigned char>(text[index]) != 0xED) {
        return 0;
    }
    const auto second = static_cast<unsigned char>(text[index + 1]);
    const auto third = static_cast<unsigned char>(text[index + 2]);
    if (second < 0xA0 || second > 0xBF || (third & 0xC0) != 0x80) {
        return 0;
    }
    return 0xD000 | (second & 0x3F) << 6 | (third & 0x3F);
}

}  // namespace

std::string utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t index = 0; index < text.size(); ++index) {
        char32_t code = text[index];
        if (isHighSurrogate(code) && index + 1 < text.size() && isLowSurrogate(text[index + 1])) {
            code = kFirstSupplementary + ((code - 0xD800) << 10) + (text[++index] - 0xDC00);
        }
        appendUtf8(out, code);
    }
    return out;
}

std::u16string utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t index = 0; index < text.size();) {
        if (const char32_t surrogate = loneSurrogateAt(text, index)) {
            out.push_back(static_cast<char16_t>(surrogate));
            index += 3;
            continue;
        }
        const Utf8Character character = decodeUtf8(text, index);
        appendUtf16(out, character.code);
        index += character.size;
    }
    return out;
}

}  // namespace zelvane
