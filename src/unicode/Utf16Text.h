// Text between UTF-8, in which the converter keeps every path, and UTF-16, in
// which Windows names files and writes to the console.
#pragma once

#include <string>
#include <string_view>

namespace zelvane {

// Any sequence of 16-bit units converts and converts back unchanged, even one
// holding a surrogate without its partner (which a Windows file name may):
// such a unit becomes the three-byte sequence of its own value, as in WTF-8.
std::string utf8FromUtf16(std::u16string_view text);
// Bytes that are not UTF-8 become U+FFFD, once for each invalid part that
// decodeUtf8 finds; the three bytes utf8FromUtf16 makes of a lone surrogate
// become that unit again.
std::u16string utf16FromUtf8(std::string_view text);

}  // namespace zelvane
