// Little-endian decoding and the bounds-checked cursor built on it, at every
// offset of a short buffer.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "bytes/ByteCursor.h"
#include "bytes/LittleEndian.h"

namespace zelvane {
namespace {

TEST(LittleEndian, AssemblesFieldsLowByteFirstAtAnyAlignment) {
    const std::array<uint8_t, 9> bytes = {0xEE, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0xF8};
    const uint8_t* odd = bytes.data() + 1;
    EXPECT_EQ(decodeU16(odd), 0x0201u);
    EXPECT_EQ(decodeU32(odd), 0x04030201u);
    EXPECT_EQ(decodeU64(odd), 0xF807060504030201u);
}

TEST(LittleEndian, FloatsKeepEveryBit) {
    const std::array<uint8_t, 4> oneAndAHalf = {0x00, 0x00, 0xC0, 0x3F};
    EXPECT_EQ(decodeF32(oneAndAHalf.data()), 1.5f);
    const std::array<uint8_t, 8> negativeZero = {0, 0, 0, 0, 0, 0, 0, 0x80};
    EXPECT_EQ(std::bit_cast<uint64_t>(decodeF64(negativeZero.data())), 0x8000000000000000u);
    const std::array<uint8_t, 4> quietNanWithPayload = {0x01, 0x00, 0xC0, 0x7F};
    EXPECT_EQ(std::bit_cast<uint32_t>(decodeF32(quietNanWithPayload.data())), 0x7FC00001u);
}

struct CursorRead {
    const char* name;
    size_t size;
    std::function<uint32_t(ByteCursor&)> read;
    std::function<uint32_t(const uint8_t*)> expected;
};

std::vector<CursorRead> cursorReads() {
    return {
        {"readU8", 1, [](ByteCursor& c) { return c.readU8(); }, [](const uint8_t* b) { return uint32_t{b[0]}; }},
        {"readU16", 2, [](ByteCursor& c) { return c.readU16(); }, [](const uint8_t* b) { return decodeU16(b); }},
        {"readU32", 4, [](ByteCursor& c) { return c.readU32(); }, [](const uint8_t* b) { return decodeU32(b); }},
        {"readU16BigEndian", 2, [](ByteCursor& c) { return c.readU16BigEndian(); },
         [](const uint8_t* b) { return uint32_t{b[0]} << 8 | b[1]; }},
        {"readU32BigEndian", 4, [](ByteCursor& c) { return c.readU32BigEndian(); },
         [](const uint8_t* b) { return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3]; }},
    };
}

// A read that fits gives the field and moves past it; one that does not
// gives 0, fails the cursor for good and leaves nothing to read.
TEST(ByteCursor, ReadsWhatFitsAndFailsForGoodPastTheEnd) {
    const std::vector<uint8_t> bytes = {0x81, 0x42, 0x03, 0xC4, 0x05, 0x96, 0x07};
    for (const CursorRead& field : cursorReads()) {
        for (size_t offset = 0; offset <= bytes.size() + 1; ++offset) {
            SCOPED_TRACE(std::string(field.name) + " at " + std::to_string(offset));
            ByteCursor cursor(bytes, offset);
            const bool fits = offset <= bytes.size() && field.size <= bytes.size() - offset;
            const uint32_t value = field.read(cursor);
            EXPECT_EQ(cursor.ok(), fits);
            if (fits) {
                EXPECT_EQ(value, field.expected(bytes.data() + offset));
                EXPECT_EQ(cursor.offset(), offset + field.size);
                EXPECT_EQ(cursor.remaining(), bytes.size() - offset - field.size);
            } else {
                EXPECT_EQ(cursor.remaining(), 0u);
                EXPECT_EQ(cursor.readU8(), 0u) << "a failed cursor reads nothing more";
                EXPECT_FALSE(cursor.ok());
            }
        }
    }
}

TEST(ByteCursor, SkipsOnlyWhatIsThere) {
    const std::vector<uint8_t> bytes(10, 0xAB);
    ByteCursor cursor(bytes, 3);
    cursor.skip(7);
    EXPECT_TRUE(cursor.ok());
    EXPECT_EQ(cursor.remaining(), 0u);
    ByteCursor tooFar(bytes, 3);
    tooFar.skip(std::numeric_limits<size_t>::max());
    EXPECT_FALSE(tooFar.ok());
    EXPECT_FALSE(tooFar.has(0));
}

}  // namespace
}  // namespace zelvane
