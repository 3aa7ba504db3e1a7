// zlib streams made quickly, for images where a few milliseconds count for
// more than the last part of their size: the pictures of models, which are
// mostly transparent background.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zelvane::image {

// The bytes as one zlib stream: greedy LZ77 matching with one candidate per
// position over a 32 KiB window, and a Huffman code of its own for each
// block. Empty when there are 2 GiB or more of them.
std::vector<uint8_t> compressZlibQuickly(std::span<const uint8_t> bytes);

}  // namespace zelvane::image
