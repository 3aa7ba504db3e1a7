#include "Utf16Text.h"

namespace zelvane {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kFirstSupplementary = 0x10000;

bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

char continuationByte(char32_t code, int shift) {
    return static_cast<char>(0x80 | ((code >> shift) & 0x3F));
}

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | code >> 6));
        out.push_back(continuationByte(code, 0));
    } else if (code < kFirstSupplementary) {
        out.push_back(static_cast<char>(0xE0 | code >> 12));
        out.push_back(continuationByte(code, 6));
        out.push_back(continuationByte(code, 0));
    } else {
        out.push_back(static_cast<char>(0xF0 | code >> 18));
        out.push_back(continuationByte(code, 12));
        out.push_back(continuationByte(code, 6));
        out.push_back(continuationByte(code, 0));
    }
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

// How many bytes the sequence that a byte of 0x80 or more begins has: 0 when
// it begins none.
size_t sequenceSize(unsigned char lead) {
    if (lead < 0xC0) {
        return 0;  // a continuation byte
    }
    return lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 0;
}

struct DecodedCharacter {
    char32_t code;
    size_t size;  // bytes taken
};

// The character whose bytes begin at text[index]. A sequence must be complete,
// as short as its value allows and at most U+10FFFF; surrogate values are
// taken, so that what utf8FromUtf16 made of a lone one comes back.
DecodedCharacter decodeUtf8(std::string_view text, size_t index) {
    constexpr char32_t kSmallestOfSize[] = {0, 0, 0x80, 0x800, kFirstSupplementary};
    const auto lead = static_cast<unsigned char>(text[index]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    const size_t size = sequenceSize(lead);
    if (size == 0 || text.size() - index < size) {
        return {kReplacementCharacter, 1};
    }
    char32_t code = lead & (0xFF >> (size + 1));
    for (size_t offset = 1; offset < size; ++offset) {
        const auto next = static_cast<unsigned char>(text[index + offset]);
        if ((next & 0xC0) != 0x80) {
            return {kReplacementCharacter, 1};
        }
        code = code << 6 | (next & 0x3F);
    }
    if (code < kSmallestOfSize[size] || code > 0x10FFFF) {
        return {kReplacementCharacter, 1};
    }
    return {code, size};
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
        const DecodedCharacter character = decodeUtf8(text, index);
        appendUtf16(out, character.code);
        index += character.size;
    }
    return out;
}

}  // namespace zelvane
