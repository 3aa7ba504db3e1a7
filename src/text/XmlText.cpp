#include "XmlText.h"

#include <cstdint>

#include "unicode/Utf8Text.h"

namespace zelvane {
namespace {


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

// The length of the UTF-8 sequence of an XML character that starts at
// text[start], or 0 when the bytes there are not one.
size_t utf8CharacterLength(std::string_view text, size_t start) {
    const Utf8Character character = decodeUtf8(text, start);
    return !character.valid || character.code == 0xFFFE || character.code == 0xFFFF ? 0 : character.size;
}

void appendLatin1(TextBuffer& out, unsigned char byte) {
    out.append(static_cast<char>(0xC0 | byte >> 6));
    out.append(static_cast<char>(0x80 | (byte & 0x3F)));
}

}  // namespace

void appendXmlAttributeValue(TextBuffer& out, std::string_view text) {
    for (size_t index = 0; index < text.size();) {
        const auto byte = static_cast<unsigned char>(text[index]);
        if (const std::string_view reference = referenceFor(byte); !reference.empty()) {
            out.append(reference);
            ++index;
        } else if (byte < 0x20) {
            out.append(kReplacementUtf8);
            ++index;
        } else if (byte < 0x80) {
            out.append(static_cast<char>(byte));
            ++index;
        } else if (const size_t length = utf8CharacterLength(text, index); length > 0) {
            out.append(text.substr(index, length));
            index += length;
        } else {  // a Latin-1 byte
            appendLatin1(out, byte);
            ++index;
        }
    }
}

}  // namespace zelvane
