// Reading PCX files.
#pragma once

#include <cstdint>
#include <span>

#include "ImageCodec.h"

namespace zelvane::image {

// Decodes a PCX file of any form in PcxHeader.h: a paletted image, or RGB
// for the 24-bit form.
DecodedImage decodePcx(std::span<const uint8_t> bytes);

}  // namespace zelvane::image
