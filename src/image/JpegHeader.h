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

}  // namespace zelvane::image
