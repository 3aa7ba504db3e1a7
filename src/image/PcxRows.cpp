#include "PcxRows.h"

#include <algorithm>

namespace zelvane::image {

namespace {

// Every plane gives one bit of the index, the first plane the lowest; the
// leftmost pixel is a byte's top bit.
void unpackBitPlanes(const PcxHeader& header, std::span<const uint8_t> line, uint8_t* row) {
    for (uint32_t x = 0; x < header.width; ++x) {
        const uint32_t byte = x / 8;
        const auto shift = static_cast<unsigned>(7 - x % 8);
        uint8_t index = 0;
        for (uint32_t plane = 0; plane < header.planes; ++plane) {
            index = static_cast<uint8_t>(index | ((line[plane * header.bytesPerLine + byte] >> shift) & 1) << plane);
        }
        row[x] = index;
    }
}

// Two pixels a byte, the left one in the high half.
void unpackNibbles(const PcxHeader& header, std::span<const uint8_t> line, uint8_t* row) {
    for (uint32_t x = 0; x < header.width; ++x) {
        const uint8_t byte = line[x / 2];
        row[x] = static_cast<uint8_t>(x % 2 == 0 ? byte >> 4 : byte & 0x0F);
    }
}

void interleaveRgb(const PcxHeader& header, std::span<const uint8_t> line, uint8_t* row) {
    const uint8_t* red = line.data();
    const uint8_t* green = red + header.bytesPerLine;
    const uint8_t* blue = green + header.bytesPerLine;
    for (uint32_t x = 0; x < header.width; ++x) {
        row[3 * x] = red[x];
        row[3 * x + 1] = green[x];
        row[3 * x + 2] = blue[x];
    }
}

void unpackLine(const PcxHeader& header, std::span<const uint8_t> line, uint8_t* row) {
    switch (header.form) {
        case PcxForm::kMonochrome:
        case PcxForm::kBitPlanes:
            unpackBitPlanes(header, line, row);
            break;
        case PcxForm::kNibbles:
            unpackNibbles(header, line, row);
            break;
        case PcxForm::kIndexed:
            std::copy_n(line.begin(), header.width, row);
            break;
        case PcxForm::kRgb:
            interleaveRgb(header, line, row);
            break;
    }
}

}  // namespace

Image cutPcxRows(const PcxHeader& header, std::span<const uint8_t> scanlines, PcxPalette palette) {
    Image image;
    image.width = header.width;
    image.height = header.height;
    image.format = header.form == PcxForm::kRgb ? PixelFormat::kRgb : PixelFormat::kPaletted;
    image.palette = std::move(palette.colours);
    const size_t rowBytes = size_t{header.width} * (image.format == PixelFormat::kRgb ? 3 : 1);
    image.pixels.resize(rowBytes * header.height);
    const size_t lineBytes = header.lineBytes();
    for (size_t y = 0; y < header.height; ++y) {
        unpackLine(header, scanlines.subspan(y * lineBytes, lineBytes), image.pixels.data() + y * rowBytes);
    }
    return image;
}

}  // namespace zelvane::image
