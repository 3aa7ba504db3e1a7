// UTF-8, in which every name is kept, read from texts that may hold any
// bytes: texture names come from model files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelvane {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;
inline constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

struct Utf8Character {
    char32_t code = kReplacementCharacter;  // the character, or U+FFFD for bytes that are not one
    size_t size = 1;                        // the bytes it takes, at least 1
    bool valid = false;
};

// The character whose bytes start at text[index], index < text.size(). A
// well-formed sequence is as short as its value allows and holds a Unicode
// scalar value: surrogates (U+D800 to U+DFFF) and values past U+10FFFF are
// not characters. Bytes that are not give one invalid result for each
// longest start of a sequence they hold (a sequence cut short counts once),
// and for each other byte: as Unicode recommends, and as Python's "replace"
// decoding does.
Utf8Character decodeUtf8(std::string_view text, size_t index);

// Appends the UTF-8 bytes of code, which is at most U+10FFFF; a surrogate
// gets the three bytes its value would have.
void appendUtf8(std::string& out, char32_t code);

}  // namespace zelvane
