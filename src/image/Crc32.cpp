#include "Crc32.h"

#include <array>

namespace zelvane::image {

namespace {

constexpr uint32_t kPolynomial = 0xEDB88320;

constexpr std::array<uint32_t, 256> makeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t index = 0; index < 256; ++index) {
        uint32_t value = index;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1) != 0 ? kPolynomial ^ (value >> 1) : value >> 1;
        }
        table[index] = value;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = makeTable();

}  // namespace

uint32_t updateCrc32(uint32_t crc, std::span<const uint8_t> bytes) {
    uint32_t value = ~crc;
    for (const uint8_t byte : bytes) {
        value = kTable[(value ^ byte) & 0xFF] ^ (value >> 8);
    }
    return ~value;
}

}  // namespace zelvane::image
