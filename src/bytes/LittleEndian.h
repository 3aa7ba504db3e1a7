// Decoding of little-endian fields from bytes, independent of the host's
// byte order and alignment: integers assembled byte by byte, floating point
// numbers bit-cast from them. The caller has checked that the bytes are there.
#pragma once

#include <bit>
#include <cstdint>

namespace zelvane {

inline uint16_t decodeU16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

inline uint32_t decodeU32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

inline uint64_t decodeU64(const uint8_t* bytes) {
    return static_cast<uint64_t>(decodeU32(bytes)) | static_cast<uint64_t>(decodeU32(bytes + 4)) << 32;
}

inline float decodeF32(const uint8_t* bytes) {
    return std::bit_cast<float>(decodeU32(bytes));
}

inline double decodeF64(const uint8_t* bytes) {
    return std::bit_cast<double>(decodeU64(bytes));
}

}  // namespace zelvane
