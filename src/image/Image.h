#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace zelvane {

// How an image's pixels are kept: one palette index, or three or four
// channels of 8 bits per pixel.
enum class PixelFormat { kPaletted, kRgb, kRgba };

// A decoded image, rows from the top, each row width pixels without padding.
struct Image {
    uint32_t width = 0;
    uint32_t height = 0;
    PixelFormat format = PixelFormat::kRgb;
    std::vector<std::array<uint8_t, 3>> palette;  // kPaletted only: 1 to 256 colours
    std::vector<uint8_t> pixels;                  // width * height * (1, 3 or 4) bytes
};

}  // namespace zelvane
