// Writes BMP files: 8-bit paletted, 24-bit and 32-bit with alpha.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/Image.h"

namespace zelvane::tools {

struct BmpWriteOptions {
    bool topDown = false;  // rows from the top (a negative height) instead of from the bottom
};

// A paletted image as 8 bits a pixel with its palette, an RGB image as 24,
// an RGBA image as 32 with bit fields that place the alpha (a version 4
// header).
std::vector<uint8_t> encodeBmp(const Image& image, const BmpWriteOptions& options = {});

}  // namespace zelvane::tools
