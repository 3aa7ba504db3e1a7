// The size of a JPEG image from its frame header, found by walking the
// file's marker segments; nothing of the image data is read.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zelvane::image {

// "" when the file has a frame header of a size within the limits, before
// its first scan; else the error's words.
std::string checkJpegHeader(std::span<const uint8_t> bytes);

// "" unless a Huffman table anywhere in the file, before or between its
// scans, declares more than 256 codes: stb_image 2.27 writes past its
// table's end on one, so such a file is refused before it decodes.
std::string checkJpegHuffmanTables(std::span<const uint8_t> bytes);

}  // namespace zelvane::image
