// Decoding a PCX file's pixels: the run-length encoding expanded, then the
// scanlines' planes unpacked into an image's rows.
#include "PcxDecoder.h"

#include <algorithm>

#include "ImageLimits.h"

namespace zelvane::image {

namespace {

constexpr uint8_t kRunMarker = 0xC0;  // the two top bits set: the low six bits count the next byte
constexpr uint8_t kCountMask = 0x3F;

// The most bytes that size bytes of encoded data can expand to: every pair a
// run of 63, and a last odd byte a literal.
constexpr uint64_t maxPcxExpansion(uint64_t size) {
    return size / 2 * 63 + size % 2;
}

// Expands encoded into out, through scanline and plane ends alike, until out
// is full or encoded ends; the number of bytes written. A run that would go
// past the end of out is cut there, and a count byte that ends the data is
// dropped.
size_t expandPcxRle(std::span<const uint8_t> encoded, std::span<uint8_t> out) {
    size_t in = 0;
    size_t written = 0;
    while (written < out.size() && in < encoded.size()) {
        const uint8_t code = encoded[in++];
        if ((code & kRunMarker) != kRunMarker) {
            out[written++] = code;
            continue;
        }
        if (in == encoded.size()) {
            break;
        }
        const size_t count = std::min<size_t>(code & kCountMask, out.size() - written);
        std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(written), count, encoded[in++]);
        written += count;
    }
    return written;
}

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

// The image from the expanded data: height scanlines of lineBytes() each,
// every scanline its planes in turn, padding after the pixels of each plane.
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

DecodedImage failure(std::string words) {
    return {std::nullopt, std::move(words)};
}

// Whether the encoded data can expand to every scanline the header declares:
// checked before any memory is set aside for them.
std::string checkDataSize(const PcxHeader& header, size_t encodedSize) {
    const uint64_t expanded = uint64_t{header.lineBytes()} * header.height;
    if (expanded > maxPcxExpansion(encodedSize)) {
        return tooLargeForFile(header.width, header.height);
    }
    return checkImageSide(header.width, header.height);
}

}  // namespace

DecodedImage decodePcx(std::span<const uint8_t> bytes) {
    PcxHeader header;
    if (std::string error = readPcxHeader(bytes, header); !error.empty()) {
        return failure(std::move(error));
    }
    PcxPalette palette = findPcxPalette(header, bytes);
    const std::span<const uint8_t> encoded = bytes.subspan(kPcxHeaderSize, palette.dataEnd - kPcxHeaderSize);
    if (std::string error = checkDataSize(header, encoded.size()); !error.empty()) {
        return failure(std::move(error));
    }
    std::vector<uint8_t> scanlines(size_t{header.lineBytes()} * header.height);
    if (expandPcxRle(encoded, scanlines) < scanlines.size()) {
        return failure("PCX data ends early");
    }
    return {cutPcxRows(header, scanlines, std::move(palette)), ""};
}

}  // namespace zelvane::image
