#pragma once

#include <cstdint>
#include <string_view>

#include "TextBuffer.h"

namespace zelvane {

// Appends a JSON string, quotes included. Quotes, backslashes and control
// characters are escaped; valid UTF-8 stays as it is, and bytes that are
// not become U+FFFD, once for each invalid part decodeUtf8 finds, so that
// any bytes (texture names come from model files) give a valid document.
void appendJsonString(TextBuffer& out, std::string_view text);

// Appends a number in the shortest form that reads back as the same double.
// JSON has no infinities or NaN: those are written as 0.
void appendJsonNumber(TextBuffer& out, double value);

inline void appendJsonNumber(TextBuffer& out, uint64_t value) {
    out.endWrite(writeUnsigned(out.beginWrite(kMaxUnsignedChars), value));
}

}  // namespace zelvane
