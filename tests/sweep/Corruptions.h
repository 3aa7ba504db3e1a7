// Damaged copies of a good model file: every prefix, and overwritten bytes
// and 32-bit words at pseudo-random places. The places and values come from
// a fixed seed, so every run damages the file the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelvane::test {

// One overwritten piece of a file: value's low width bytes, little-endian.
struct Corruption {
    size_t offset = 0;
    size_t width = 1;  // 1 or 4
    uint32_t value = 0;

    std::vector<uint8_t> appliedTo(std::vector<uint8_t> bytes) const;
    std::string describe() const;
};

// count bytes, each set to a value it did not have.
std::vector<Corruption> byteCorruptions(const std::vector<uint8_t>& bytes, size_t count);

// count aligned words, each set to a value it did not have: often a count-like
// extreme (0, 1, 5, 2^31, 2^32 - 1, one off the old value), otherwise any.
std::vector<Corruption> wordCorruptions(const std::vector<uint8_t>& bytes, size_t count);

// Every one of those extremes in each word of the header and of the counts
// that follow the texture table.
std::vector<Corruption> countCorruptions(const std::vector<uint8_t>& bytes);

}  // namespace zelvane::test
