// Writes TGA files: colour-mapped, 24-bit and 32-bit, uncompressed or
// run-length encoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/Image.h"

namespace zelvane::tools {

struct TgaWriteOptions {
    bool runLength = false;
    bool runsAcrossRows = true;  // run-length packets may go on from one row into the next
    bool topDown = false;        // rows from the top instead of from the bottom
    bool grey = false;           // an RGB or RGBA image as grey levels: its red channel (and alpha)
    std::string imageId{};       // the free text after the header, up to 255 bytes
};

// A paletted image as 8-bit indices into a 24-bit colour map, an RGB image
// as 24 bits a pixel, an RGBA image as 32; or with grey, as 8 or 16.
std::vector<uint8_t> encodeTga(const Image& image, const TgaWriteOptions& options = {});

}  // namespace zelvane::tools
