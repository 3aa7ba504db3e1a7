// zlib streams for PNG's image data, from stb_image_write's compressor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zelvane::image {

// The bytes as one zlib stream; empty when there are 2 GiB or more of them.
std::vector<uint8_t> compressZlib(std::span<const uint8_t> bytes);

}  // namespace zelvane::image
