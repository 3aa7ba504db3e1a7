#include "XmlText.h"

#include <cstdint>

#include "Utf8Text.h"

namespace zelvane {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

std::string_view referenceFor(unsigned char c) {
    switch (c) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '"': return "&quot;";
        case '\'': return "&apos;";
        case '\t': return "&#9;";
        case '\n': return "&#10;";
        case '\r': return "&#13;";
        default: return {};
    }
}

// The length of the well-formed UTF-8 sequence of an XML character that
// starts at text[start], or 0 when the bytes there are not one.
size_t utf8CharacterLength(std::string_view text, size_t start) {
    uint32_t codePoint = 0;
    const size_t length = utf8SequenceLength(text, start, codePoint);
    return codePoint == 0xFFFE || codePoint == 0xFFFF ? 0 : length;
}

}  // namespace

void appendXmlAttributeValue(TextBuffer& out, std::string_view text) {
    for (size_t index = 0; index < text.size();) {
        const auto byte = static_cast<unsigned char>(text[index]);
        if (const std::string_view reference = referenceFor(byte); !reference.empty()) {
            out.append(reference);
            ++index;
        } else if (byte < 0x20) {
            out.append(kReplacementCharacter);
            ++index;
        } else if (byte < 0x80) {
            out.append(static_cast<char>(byte));
            ++index;
        } else if (const size_t length = utf8CharacterLength(text, index); length > 0) {
            out.append(text.substr(index, length));
            index += length;
        } else {  // a Latin-1 byte
            out.append(static_cast<char>(0xC0 | byte >> 6));
            out.append(static_cast<char>(0x80 | (byte & 0x3F)));
            ++index;
        }
    }
}

}  // namespace zelvane
