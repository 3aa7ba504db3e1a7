#include "PcxEncoder.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace zelvane {
namespace {

constexpr size_t kHeaderSize = 128;
constexpr uint8_t kPaletteMarker = 0x0C;
constexpr uint8_t kRunFlag = 0xC0;
constexpr size_t kLongestRun = 63;
constexpr uint16_t kDotsPerInch = 72;

void putU16(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    bytes[at] = static_cast<uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8 & 0xFF);
}

void appendHeader(std::vector<uint8_t>& bytes, uint32_t width, uint32_t height, uint32_t bytesPerLine) {
    bytes.assign(kHeaderSize, 0);
    bytes[0] = 0x0A;  // manufacturer
    bytes[1] = 5;     // version: with the 256-colour palette
    bytes[2] = 1;     // run-length encoding
    bytes[3] = 8;     // bits per pixel in a plane
    putU16(bytes, 8, width - 1);
    putU16(bytes, 10, height - 1);
    putU16(bytes, 12, kDotsPerInch);
    putU16(bytes, 14, kDotsPerInch);
    bytes[65] = 1;  // planes
    putU16(bytes, 66, bytesPerLine);
    putU16(bytes, 68, 1);  // the palette holds colours
}

// A row as runs: a run of one byte below the flag's range stands for itself.
void appendRow(std::vector<uint8_t>& bytes, const uint8_t* row, size_t length) {
    for (size_t at = 0; at < length;) {
        const uint8_t value = row[at];
        size_t run = 1;
        while (at + run < length && run < kLongestRun && row[at + run] == value) {
            ++run;
        }
        if (run > 1 || value >= kRunFlag) {
            bytes.push_back(static_cast<uint8_t>(kRunFlag | run));
        }
        bytes.push_back(value);
        at += run;
    }
}

}  // namespace

std::vector<uint8_t> encodePcx(const Image& image) {
    constexpr uint32_t kLargestSide = 65535;
    if (image.format != PixelFormat::kPaletted || image.width == 0 || image.height == 0 ||
        image.width > kLargestSide || image.height > kLargestSide || image.palette.size() > 256 ||
        image.pixels.size() != size_t{image.width} * image.height) {
        return {};
    }
    const uint32_t bytesPerLine = image.width + image.width % 2;
    std::vector<uint8_t> bytes;
    appendHeader(bytes, image.width, image.height, bytesPerLine);
    std::vector<uint8_t> row(bytesPerLine, 0);
    for (uint32_t y = 0; y < image.height; ++y) {
        std::copy_n(image.pixels.begin() + static_cast<ptrdiff_t>(size_t{y} * image.width), image.width, row.begin());
        appendRow(bytes, row.data(), row.size());
    }
    bytes.push_back(kPaletteMarker);
    for (size_t entry = 0; entry < 256; ++entry) {
        const std::array<uint8_t, 3> colour = entry < image.palette.size() ? image.palette[entry]
                                                                          : std::array<uint8_t, 3>{};
        bytes.insert(bytes.end(), colour.begin(), colour.end());
    }
    return bytes;
}

}  // namespace zelvane
