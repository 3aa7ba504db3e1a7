// Decoding of little-endian fields from a byte buffer, independent of the
// host's byte order and alignment.
#pragma once

#include <bit>
#include <cstdint>

namespace zelvane::mag5 {

inline uint32_t readU32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

inline uint64_t readU64(const uint8_t* bytes) {
    return static_cast<uint64_t>(readU32(bytes)) | static_cast<uint64_t>(readU32(bytes + 4)) << 32;
}

inline float readF32(const uint8_t* bytes) {
    return std::bit_cast<float>(readU32(bytes));
}

inline double readF64(const uint8_t* bytes) {
    return std::bit_cast<double>(readU64(bytes));
}

}  // namespace zelvane::mag5
