// Appending little-endian fields to a byte vector, for the image writers.
#pragma once

#include <cstddef>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelvane::tools {

inline void appendU8(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
}

inline void appendU16(std::vector<uint8_t>& out, uint32_t value) {
    appendU8(out, value);
    appendU8(out, value >> 8);
}

inline void appendU32(std::vector<uint8_t>& out, uint32_t value) {
    appendU16(out, value);
    appendU16(out, value >> 16);
}

inline void appendZeros(std::vector<uint8_t>& out, size_t count) {
    out.insert(out.end(), count, 0);
}

}  // namespace zelvane::tools
