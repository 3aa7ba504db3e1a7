#include "NumberFormat.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace zelvane {
namespace {

constexpr uint64_t kMillion = 1000000;
// Below this magnitude a value times a million fits 64 bits after rounding.
constexpr double kFastLimit = 1e13;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// product / 2^shift, rounded to the nearest integer with ties to even.
template <typename Wide>
uint64_t roundedShift(Wide product, int shift) {
    if (shift >= static_cast<int>(8 * sizeof(Wide))) {
        return 0;  // product < 2^(width - 1): below one half
    }
    const auto quotient = static_cast<uint64_t>(product >> shift);
    const Wide remainder = product - (static_cast<Wide>(quotient) << shift);
    const Wide half = static_cast<Wide>(1) << (shift - 1);
    const bool roundUp = remainder > half || (remainder == half && (quotient & 1) != 0);
    return quotient + (roundUp ? 1 : 0);
}

// Six zero-padded digits, two at a time.
char* writeSixDigits(char* out, uint64_t value) {
    for (int position = 4; position >= 0; position -= 2) {
        std::memcpy(out + position, kDigitPairs + 2 * (value % 100), 2);
        value /= 100;
    }
    return out + 6;
}

// |value| times a million, rounded to the nearest integer with ties to
// even, computed exactly from the binary value |value| = mantissa * 2^exponent.
// For |value| < 1e13, which makes the result fit 64 bits.
uint64_t scaledMagnitude(double value) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    const auto exponentField = static_cast<int>((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
    uint64_t mantissa = exponentField == 0 ? fraction : fraction | (uint64_t{1} << 52);
    if (mantissa == 0) {
        return 0;
    }
    const int zeros = std::countr_zero(mantissa);
    mantissa >>= zeros;
    const int exponent = (exponentField == 0 ? 1 : exponentField) - 1075 + zeros;
    if (exponent >= 0) {
        return mantissa * kMillion << exponent;  // below 1e19
    }
    if (mantissa < (uint64_t{1} << 44) && exponent > -64) {
        // A float widened, or any short mantissa: the product fits 64 bits.
        return roundedShift(mantissa * kMillion, -exponent);
    }
    return roundedShift(static_cast<unsigned __int128>(mantissa) * kMillion, -exponent);
}

}  // namespace

char* writeFixed6(char* out, double value) {
    if (!(value > -kFastLimit && value < kFastLimit)) {  // large, infinite or NaN
        return std::to_chars(out, out + kMaxFixed6Chars, value, std::chars_format::fixed, 6).ptr;
    }
    *out = '-';  // kept for -0.0 and for negatives that round to zero too
    out += std::signbit(value) ? 1 : 0;
    const uint64_t scaled = scaledMagnitude(value);
    out = std::to_chars(out, out + kMaxUnsignedChars, scaled / kMillion).ptr;
    *out++ = '.';
    return writeSixDigits(out, scaled % kMillion);
}

}  // namespace zelvane
