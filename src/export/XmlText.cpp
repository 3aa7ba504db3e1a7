#include "XmlText.h"

#include <cstdint>

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
    const bool valid = codePoint >= kSmallest[length] && codePoint <= 0x10FFFF &&
                       !(codePoint >= 0xD800 && codePoint <= 0xDFFF) && codePoint != 0xFFFE && codePoint != 0xFFFF;
    return valid ? length : 0;
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
