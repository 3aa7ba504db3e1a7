#include "TextBuffer.h"

#include "NumberFormat.h"

namespace zelvane {

void TextBuffer::appendFixed6(double value) {
    char digits[kMaxFixed6Chars];
    text_.append(digits, writeFixed6(digits, value));
}

void TextBuffer::appendUnsigned(uint64_t value) {
    char digits[kMaxUnsignedChars];
    text_.append(digits, writeUnsigned(digits, value));
}

void TextBuffer::appendHex(uint64_t value) {
    char digits[kMaxHexChars];
    text_.append(digits, writeHex(digits, value));
}

}  // namespace zelvane
