#include <gtest/gtest.h>

#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "text/NumberFormat.h"

namespace zelvane {
namespace {

std::string viaPrintf(const char* format, double value) {
    char text[512];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string fixed6(double value) {
    char text[kMaxFixed6Chars];
    return std::string(text, writeFixed6(text, value));
}

TEST(NumberFormat, Fixed6MatchesPrintfOnAwkwardValues) {
    const double values[] = {
        0.0, -0.0, 0.5, -1.0, 1.5, -0.25,
        0.0078125, -0.0078125, 0.0000005, 0.0000015, 0.0000025, -0.0000005,  // exact ties
        5e-7, 4.999999999999999e-7, 5.000000000000001e-7, -1e-9, 1e-300,
        0.1234565, 0.1234575, 2.0000005, 999999.9999995, 0.9999995, 1.0 / 3.0,
        1e300, -1e300, 1e22, 1e23, 9007199254740993.0, std::numeric_limits<double>::max(),
        std::numeric_limits<double>::lowest(), std::numeric_limits<double>::min(),
        std::numeric_limits<double>::denorm_min(), -std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
        std::nextafter(0.0000005, 0.0), std::nextafter(0.0000005, 1.0), std::nextafter(1.0, 0.0),
    };
    for (double value : values) {
        EXPECT_EQ(fixed6(value), viaPrintf("%lf", value)) << std::bit_cast<uint64_t>(value);
    }
}

TEST(NumberFormat, Fixed6MatchesPrintfOnRandomDoubles) {
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> modelScale(-10000.0, 10000.0);
    for (int i = 0; i < 300000; ++i) {
        // Arbitrary bit patterns (every exponent, NaNs and infinities
        // included), values of the size a model holds, and dyadic fractions,
        // which hit exact ties at the sixth decimal.
        const double dyadic = std::ldexp(static_cast<double>(random() % (1 << 24)), -static_cast<int>(random() % 44));
        const double value = i % 3 == 0 ? std::bit_cast<double>(random()) : i % 3 == 1 ? modelScale(random) : dyadic;
        ASSERT_EQ(fixed6(value), viaPrintf("%lf", value)) << std::bit_cast<uint64_t>(value);
    }
}

TEST(NumberFormat, IntegersMatchPrintf) {
    const uint64_t values[] = {0, 1, 9, 10, 0xabcdef, 0xffffffff, 0x7ffd1234abcd, UINT64_MAX};
    for (uint64_t value : values) {
        char text[32];
        char expected[32];
        std::snprintf(expected, sizeof expected, "%" PRIu64, value);
        EXPECT_EQ(std::string(text, writeUnsigned(text, value)), expected);
        std::snprintf(expected, sizeof expected, "%" PRIx64, value);
        EXPECT_EQ(std::string(text, writeHex(text, value)), expected);
    }
}

}  // namespace
}  // namespace zelvane
