// Number formatting for the text outputs, built on std::to_chars. Each
// function writes into a caller's buffer that has room for the longest text
// it can produce and returns the end of what it wrote.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>

namespace zelvane {

// Longest "%lf" text: a minus sign, 309 integer digits, the point and six decimals.
inline constexpr size_t kMaxFixed6Chars = 1 + 309 + 1 + 6;
inline constexpr size_t kMaxUnsignedChars = 20;
inline constexpr size_t kMaxHexChars = 16;
inline constexpr char kLowerHexDigits[] = "0123456789abcdef";
inline constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

// What printf("%lf") prints: fixed notation, six decimals, correctly rounded,
// "-0.000000" for negative zero, "inf", "-inf", "nan" and "-nan" for the rest.
char* writeFixed6(char* out, double value);
// What printf("%" PRIu64) prints.
inline char* writeUnsigned(char* out, uint64_t value) {
    return std::to_chars(out, out + kMaxUnsignedChars, value).ptr;
}
// What printf("%" PRIx64) prints: lower-case hex without prefix or leading zeros.
inline char* writeHex(char* out, uint64_t value) {
    return std::to_chars(out, out + kMaxHexChars, value, 16).ptr;
}

}  // namespace zelvane
