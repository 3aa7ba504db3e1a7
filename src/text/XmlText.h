#pragma once

#include <string_view>

#include "TextBuffer.h"

namespace zelvane {

// Appends text for a double-quoted attribute value of a UTF-8 document:
// the five markup characters become entity references, tab, line feed and
// carriage return character references (so that they survive attribute
// normalisation), and valid UTF-8 stays as it is. Bytes that are not UTF-8
// are taken as Latin-1 characters, and control characters that XML cannot
// carry become U+FFFD, so that any name gives a well-formed document.
void appendXmlAttributeValue(TextBuffer& out, std::string_view text);

}  // namespace zelvane
