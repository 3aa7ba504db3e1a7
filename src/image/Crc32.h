// The CRC-32 of PNG chunks (and zlib's gzip): polynomial 0xEDB88320, reflected.
#pragma once

#include <cstdint>
#include <span>

namespace zelvane::image {

// Continues crc over bytes; start with 0.
uint32_t updateCrc32(uint32_t crc, std::span<const uint8_t> bytes);

}  // namespace zelvane::image
