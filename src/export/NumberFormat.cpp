#include "NumberFormat.h"

#include <charconv>

namespace zelvane {

char* writeFixed6(char* out, double value) {
    return std::to_chars(out, out + kMaxFixed6Chars, value, std::chars_format::fixed, 6).ptr;
}

char* writeUnsigned(char* out, uint64_t value) {
    return std::to_chars(out, out + kMaxUnsignedChars, value).ptr;
}

char* writeHex(char* out, uint64_t value) {
    return std::to_chars(out, out + kMaxHexChars, value, 16).ptr;
}

}  // namespace zelvane
