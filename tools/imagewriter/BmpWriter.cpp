#include "BmpWriter.h"

#include "ByteSink.h"

namespace zelvane::tools {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots an inch

uint32_t bitsPerPixel(const Image& image) {
    return image.format == PixelFormat::kPaletted ? 8 : image.format == PixelFormat::kRgb ? 24 : 32;
}

uint32_t rowSize(const Image& image) {
    return (image.width * bitsPerPixel(image) + 31) / 32 * 4;
}

uint32_t paletteSize(const Image& image) {
    return static_cast<uint32_t>(image.format == PixelFormat::kPaletted ? 4 * image.palette.size() : 0);
}

void appendInfoHeader(std::vector<uint8_t>& out, const Image& image, const BmpWriteOptions& options) {
    const bool alpha = image.format == PixelFormat::kRgba;
    const auto height = static_cast<int32_t>(image.height);
    appendU32(out, alpha ? kV4HeaderSize : kInfoHeaderSize);
    appendU32(out, image.width);
    appendU32(out, static_cast<uint32_t>(options.topDown ? -height : height));
    appendU16(out, 1);
    appendU16(out, bitsPerPixel(image));
    appendU32(out, alpha ? kBitFields : kUncompressed);
    appendU32(out, rowSize(image) * image.height);
    appendU32(out, kPixelsPerMetre);
    appendU32(out, kPixelsPerMetre);
    appendU32(out, paletteSize(image) / 4);
    appendU32(out, 0);
    if (alpha) {
        for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) {
            appendU32(out, mask);
        }
        appendU32(out, 0x73524742);  // "sRGB"
        appendZeros(out, 48);        // end points and gamma, unused for sRGB
    }
}

void appendPalette(std::vector<uint8_t>& out, const Image& image) {
    if (image.format != PixelFormat::kPaletted) {
        return;
    }
    for (const auto& colour : image.palette) {
        out.insert(out.end(), {colour[2], colour[1], colour[0], 0});
    }
}

void appendRow(std::vector<uint8_t>& out, const Image& image, uint32_t y) {
    const size_t channels = bitsPerPixel(image) / 8;
    const uint8_t* row = image.pixels.data() + size_t{y} * image.width * channels;
    const size_t start = out.size();
    for (uint32_t x = 0; x < image.width; ++x) {
        const uint8_t* pixel = row + x * channels;
        if (channels == 1) {
            out.push_back(pixel[0]);
        } else {
            out.insert(out.end(), {pixel[2], pixel[1], pixel[0]});
            if (channels == 4) {
                out.push_back(pixel[3]);
            }
        }
    }
    appendZeros(out, rowSize(image) - (out.size() - start));
}

}  // namespace

std::vector<uint8_t> encodeBmp(const Image& image, const BmpWriteOptions& options) {
    const uint32_t headerSize = image.format == PixelFormat::kRgba ? kV4HeaderSize : kInfoHeaderSize;
    const uint32_t dataOffset = kFileHeaderSize + headerSize + paletteSize(image);
    std::vector<uint8_t> out;
    out.insert(out.end(), {'B', 'M'});
    appendU32(out, dataOffset + rowSize(image) * image.height);
    appendU32(out, 0);
    appendU32(out, dataOffset);
    appendInfoHeader(out, image, options);
    appendPalette(out, image);
    for (uint32_t row = 0; row < image.height; ++row) {
        appendRow(out, image, options.topDown ? row : image.height - 1 - row);
    }
    return out;
}

}  // namespace zelvane::tools
