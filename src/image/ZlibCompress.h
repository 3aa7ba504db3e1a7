// zlib streams and CRC-32s for PNG files, from the zlib library, at settings
// fixed here: the Linux and the Windows build link the same zlib version and
// so write the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zelvane::image {

// How hard deflate works: kFast for pictures, drawn anew on every run;
// kThorough for texture images.
enum class ZlibEffort { kFast, kThorough };

// The bytes as one zlib stream; empty when there are 2 GiB or more of them,
// or zlib finds no memory.
std::vector<uint8_t> compressZlib(std::span<const uint8_t> bytes, ZlibEffort effort);

// The CRC-32 that PNG chunks end with.
uint32_t crc32Of(std::span<const uint8_t> bytes);

}  // namespace zelvane::image
