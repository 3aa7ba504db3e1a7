#include "JsonText.h"

#include <charconv>
#include <cmath>

#include "unicode/Utf8Text.h"

namespace zelvane {
namespace {

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
    const char escape[] = {'\\', 'u', '0', '0', kLowerHexDigits[c >> 4], kLowerHexDigits[c & 0xF]};
    out.append(std::string_view(escape, sizeof escape));
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
        } else {
            const Utf8Character character = decodeUtf8(text, index);
            out.append(character.valid ? text.substr(index, character.size) : kReplacementUtf8);
            index += character.size;
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
