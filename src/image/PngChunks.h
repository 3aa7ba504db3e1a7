// The parts of a PNG file around its pixels: signature, IHDR, PLTE, the
// zlib stream cut into IDAT chunks, and IEND.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zelvane::image {

struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 8;
    uint8_t colourType = 0;  // 2 RGB, 3 paletted, 6 RGBA
};

inline constexpr uint8_t kPngColourTypeRgb = 2;
inline constexpr uint8_t kPngColourTypePaletted = 3;
inline constexpr uint8_t kPngColourTypeRgba = 6;

// The whole file: the palette's RGB triples (none for no PLTE chunk) and
// the compressed scanlines.
std::vector<uint8_t> assemblePng(const PngHeader& header, std::span<const uint8_t> palette,
                                 std::span<const uint8_t> stream);

}  // namespace zelvane::image
