// The 128-byte header of a PCX file and the pixel form it declares.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

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

// Reads and checks the header; "" when it is usable, else the error's words.
std::string readPcxHeader(std::span<const uint8_t> bytes, PcxHeader& header);

}  // namespace zelvane::image
