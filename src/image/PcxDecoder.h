// Reading PCX files: the 128-byte header and the pixel form it declares,
// where the colours come from, and the run-length encoded scanlines.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ImageCodec.h"

namespace zelvane::image {

constexpr size_t kPcxHeaderSize = 128;

// The pixel layouts this reader takes, by bits per pixel and planes.
enum class PcxForm {
    kMonochrome,  // 1 bit, 1 plane: black and white
    kBitPlanes,   // 1 bit, 2 or 4 planes: the planes' bits form a palette index
    kNibbles,     // 4 bits, 1 plane: two pixels a byte
    kIndexed,     // 8 bits, 1 plane, with the 256-colour palette at the end
    kRgb,         // 8 bits, 3 planes: red, green and blue
};

struct PcxHeader {
    uint8_t version = 0;
    uint8_t bitsPerPixel = 0;
    uint8_t planes = 0;
    uint16_t bytesPerLine = 0;  // of each plane, padding included
    uint32_t width = 0;         // from the window, 1 to 65536
    uint32_t height = 0;
    std::array<std::array<uint8_t, 3>, 16> headerPalette{};
    PcxForm form = PcxForm::kIndexed;

    // Bytes of one scanline, all planes together.
    uint32_t lineBytes() const { return uint32_t{planes} * bytesPerLine; }
};

// Where a file's colours come from: the 256-colour table at its end, the 16
// colours of its header, or fixed black and white.
struct PcxPalette {
    std::vector<std::array<uint8_t, 3>> colours;  // empty for the RGB form
    size_t dataEnd = 0;                           // where the pixel data ends: before the table if there is one
};

// Reads and checks the header; "" when it is usable, else the error's words.
std::string readPcxHeader(std::span<const uint8_t> bytes, PcxHeader& header);

// The palette of the file's form. An 8-bit file whose last 769 bytes do not
// start with the table's marker 12 has no table: its pixels are grey levels.
PcxPalette findPcxPalette(const PcxHeader& header, std::span<const uint8_t> bytes);

// Decodes a PCX file of any form above: a paletted image, or RGB for the
// 24-bit form.
DecodedImage decodePcx(std::span<const uint8_t> bytes);

}  // namespace zelvane::image
