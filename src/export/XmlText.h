#pragma once

#include <string_view>

#include "TextBuffer.h"

namespace zelvane {

// Appends text for a double-quoted attribute value: the five markup
// characters become entity references, every other byte stays as it is.
void appendXmlAttributeValue(TextBuffer& out, std::string_view text);

}  // namespace zelvane
