#include "Utf8Text.h"

namespace zelvane {
namespace {

struct ByteRange {
    unsigned char low;
    unsigned char high;
};

// The size of the sequence a lead byte starts, and the range its second
// byte must lie in (the others lie in 80 to BF): the table of well-formed
// sequences, which leaves out overlong forms, surrogates and values past
// U+10FFFF. Size 0 for a byte that starts none.
struct LeadByte {
    size_t size;
    ByteRange second;
};

LeadByte leadOf(unsigned char byte) {
    constexpr ByteRange kAny{0x80, 0xBF};
    if (byte >= 0xC2 && byte <= 0xDF) return {2, kAny};
    if (byte == 0xE0) return {3, {0xA0, 0xBF}};
    if (byte == 0xED) return {3, {0x80, 0x9F}};
    if (byte >= 0xE1 && byte <= 0xEF) return {3, kAny};
    if (byte == 0xF0) return {4, {0x90, 0xBF}};
    if (byte >= 0xF1 && byte <= 0xF3) return {4, kAny};
    if (byte == 0xF4) return {4, {0x80, 0x8F}};
    return {0, kAny};
}

bool within(unsigned char byte, ByteRange range) {
    return byte >= range.low && byte <= range.high;
}

char continuationByte(char32_t code, int shift) {
    return static_cast<char>(0x80 | ((code >> shift) & 0x3F));
}

}  // namespace

Utf8Character decodeUtf8(std::string_view text, size_t index) {
    const auto lead = static_cast<unsigned char>(text[index]);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    const LeadByte expected = leadOf(lead);
    if (expected.size == 0) {
        return {};
    }
    char32_t code = lead & (0x7F >> expected.size);
    for (size_t offset = 1; offset < expected.size; ++offset) {
        const ByteRange range = offset == 1 ? expected.second : ByteRange{0x80, 0xBF};
        if (index + offset >= text.size() || !within(static_cast<unsigned char>(text[index + offset]), range)) {
            return {kReplacementCharacter, offset, false};
        }
        code = code << 6 | (static_cast<unsigned char>(text[index + offset]) & 0x3F);
    }
    return {code, expected.size, true};
}

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | code >> 6));
        out.push_back(continuationByte(code, 0));
    } else if (code < 0x10000) {
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

}  // namespace zelvane
