// Pieces of an HTML document in UTF-8.
#pragma once

#include <cstdint>
#include <string_view>

#include "TextBuffer.h"

namespace zelvane {

// Any bytes as the text of an element or a double-quoted attribute value:
// markup characters become references, and bytes that are not UTF-8 become
// the characters they are in Latin-1 (see appendXmlAttributeValue).
void appendHtmlText(TextBuffer& out, std::string_view text);

// A blank, then name="value" with value as appendHtmlText gives it.
void appendAttribute(TextBuffer& out, std::string_view name, std::string_view value);
void appendAttribute(TextBuffer& out, std::string_view name, uint64_t value);

// <tag class="className">text</tag> and a line end.
void appendTextElement(TextBuffer& out, std::string_view tag, std::string_view className, std::string_view text);

void appendDecimal(TextBuffer& out, uint64_t value);

}  // namespace zelvane
