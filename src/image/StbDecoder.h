// Reading BMP, TGA, PNG and JPEG files through stb_image, and checking PNG
// headers, each after our own checks of the sizes the file declares.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "ImageCodec.h"

namespace zelvane::image {

// Decodes a BMP, TGA, PNG or JPEG file into RGB, or RGBA when it has alpha.
DecodedImage decodeWithStb(std::span<const uint8_t> bytes, ImageFormat format);

// "" when a file of the format (PNG) has a header stb_image reads, of a
// size within the limits; else the error's words.
std::string checkStbHeader(std::span<const uint8_t> bytes, ImageFormat format);

}  // namespace zelvane::image
