// Writes PCX files in every form the converter reads, with the variations
// real files show, for the tests and the sample textures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/Image.h"

namespace zelvane::tools {

enum class PcxWriteForm {
    kMonochrome,  // 1 bit, 1 plane; indices 0 and 1
    kBitPlanes2,  // 1 bit, 2 planes; indices below 4, header palette
    kBitPlanes4,  // 1 bit, 4 planes; indices below 16, header palette
    kNibbles,     // 4 bits, 1 plane; indices below 16, header palette
    kIndexed,     // 8 bits, 1 plane; 256-colour palette at the end
    kRgb,         // 8 bits, 3 planes; from an RGB image
};

// Where the encoder's runs restart: at each plane, at each scanline (the
// usual), or nowhere, so that runs go on across plane and scanline ends.
enum class PcxRunScope { kPlane, kScanline, kWholeImage };

// What follows the pixel data of the 8-bit form: the marker and the table,
// nothing, or the table behind a zero byte where the marker belongs.
enum class PcxPaletteEnd { kTable, kNothing, kTableWithoutMarker };

struct PcxWriteOptions {
    uint8_t version = 5;
    uint16_t xMin = 0;  // the window's corner; the window ends at xMin + width - 1
    uint16_t yMin = 0;
    uint16_t bytesPerLine = 0;  // of each plane; 0: the least that is even
    uint8_t paddingByte = 0;    // written after each plane's pixels up to bytesPerLine
    PcxRunScope runScope = PcxRunScope::kScanline;
    PcxPaletteEnd paletteEnd = PcxPaletteEnd::kTable;
};

// The bytes of each plane that the image's width needs.
uint32_t pcxPixelBytes(uint32_t width, PcxWriteForm form);

// The image as a PCX file of form: a paletted image for every form but kRgb,
// which takes an RGB image. The palette goes into the header (first 16
// colours) and, for kIndexed, into the table at the end (padded to 256).
std::vector<uint8_t> encodePcx(const Image& image, PcxWriteForm form, const PcxWriteOptions& options = {});

}  // namespace zelvane::tools
