#include "JsonText.h"

#include <charconv>
#include <cmath>

namespace zelvane {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
// The longest shortest form of a double: "-2.2250738585072014e-308".
constexpr size_t kMaxDoubleChars = 24;

std::string_view escapeFor(unsigned char c) {
    switch (c) {
        case '"': return "\\\"";
        case '\\': return "\\\\";
        case '\b': return "\\b";
        case '\f': return "\\f";
        case '\n': return "\\n";
        case '\r': return "\\r";
        case '\t': return "\\t";
        default: return {};
    }
}

void appendControlEscape(TextBuffer& out, unsigned char c) {
    constexpr char kHexDigits[] = "0123456789abcdef";
    const char escape[] = {'\\', 'u', '0', '0', kHexDigits[c >> 4], kHexDigits[c & 0xF]};
    out.append(std::string_view(escape, sizeof escape));
}

// The length of the well-formed UTF-8 sequence of a Unicode scalar value
// that starts at text[start], or 0 when the bytes there are not one.
size_t utf8SequenceLength(std::string_view text, size_t start) {
    const auto lead = static_cast<unsigned char>(text[start]);
    const size_t length = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || length > text.size() - start) {
        return 0;
    }
    uint32_t codePoint = lead & (0x7F >> length);
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

}  // namespace

void appendJsonString(TextBuffer& out, std::string_view text) {
    out.append('"');
    for (size_t index = 0; index < text.size();) {
        const auto byte = static_cast<unsigned char>(text[index]);
        if (const std::string_view escape = escapeFor(byte); !escape.empty()) {
            out.append(escape);
            ++index;
        } else if (byte < 0x20) {
            appendControlEscape(out, byte);
            ++index;
        } else if (byte < 0x80) {
            out.append(static_cast<char>(byte));
            ++index;
        } else if (const size_t length = utf8SequenceLength(text, index); length > 0) {
            out.append(text.substr(index, length));
            index += length;
        } else {
            out.append(kReplacementCharacter);
            ++index;
        }
    }
    out.append('"');
}

void appendJsonNumber(TextBuffer& out, double value) {
    if (!std::isfinite(value)) {
        value = 0.0;
    }
    char* start = out.beginWrite(kMaxDoubleChars);
    out.endWrite(std::to_chars(start, start + kMaxDoubleChars, value).ptr);
}

}  // namespace zelvane
