// The few fields of a BMP header that say how many bytes its pixels take,
// read before the file goes to stb_image.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zelvane::image {

// "" when the file holds every row of pixels its header declares, else the
// error's words. Takes the uncompressed and bit-field forms; stb_image reads
// no other.
std::string checkBmpLayout(std::span<const uint8_t> bytes);

}  // namespace zelvane::image
