// Writing PNG files: signature, IHDR, PLTE for a paletted image, the image
// data in IDAT chunks, IEND.
#include <algorithm>
#include <array>
#include <climits>
#include <string_view>

#include "ImageCodec.h"
#include "PngScanlines.h"
#include "ZlibCompress.h"

namespace zelvane {

namespace {

using Bytes = std::vector<uint8_t>;

constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint8_t kColourTypeRgb = 2;
constexpr uint8_t kColourTypePaletted = 3;
constexpr uint8_t kColourTypeRgba = 6;
constexpr size_t kMaxIdatSize = size_t{1} << 20;

void appendU32(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void appendChunk(Bytes& out, std::string_view type, std::span<const uint8_t> data) {
    appendU32(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    const std::span<const uint8_t> covered(out.data() + typeAt, out.size() - typeAt);
    appendU32(out, image::crc32Of(covered));
}

Bytes headerData(const Image& image, uint8_t bitDepth, uint8_t colourType) {
    Bytes data;
    appendU32(data, image.width);
    appendU32(data, image.height);
    data.insert(data.end(), {bitDepth, colourType, 0, 0, 0});  // deflate, adaptive filters, no interlace
    return data;
}

size_t bytesPerPixel(PixelFormat format) {
    return format == PixelFormat::kPaletted ? 1 : format == PixelFormat::kRgb ? 3 : 4;
}

// A size that matches the pixels, and scanlines under 2 GiB.
bool isWellFormed(const Image& image) {
    const uint64_t pixels = uint64_t{image.width} * image.height;
    const uint64_t scanlineBytes = (uint64_t{image.width} * bytesPerPixel(image.format) + 1) * image.height;
    return pixels != 0 && scanlineBytes < INT_MAX && image.pixels.size() == pixels * bytesPerPixel(image.format) &&
           (image.format != PixelFormat::kPaletted || (!image.palette.empty() && image.palette.size() <= 256));
}

// The colours the pixels use, up to the highest index; an index past the
// palette's end shows black.
Bytes paletteData(const Image& image) {
    const uint8_t highest = *std::max_element(image.pixels.begin(), image.pixels.end());
    Bytes data;
    for (size_t index = 0; index <= highest; ++index) {
        const std::array<uint8_t, 3> colour = index < image.palette.size() ? image.palette[index]
                                                                           : std::array<uint8_t, 3>{0, 0, 0};
        data.insert(data.end(), colour.begin(), colour.end());
    }
    return data;
}

Bytes compressed(std::span<const uint8_t> scanlines, PngEffort effort) {
    return image::compressZlib(scanlines,
                               effort == PngEffort::kQuick ? image::ZlibEffort::kFast : image::ZlibEffort::kThorough);
}

void appendImageData(Bytes& out, std::span<const uint8_t> stream) {
    for (size_t offset = 0; offset < stream.size(); offset += kMaxIdatSize) {
        appendChunk(out, "IDAT", stream.subspan(offset, std::min(kMaxIdatSize, stream.size() - offset)));
    }
}

}  // namespace

std::vector<uint8_t> encodePng(const Image& image, PngEffort effort) {
    if (!isWellFormed(image)) {
        return {};
    }
    Bytes out(kSignature.begin(), kSignature.end());
    Bytes stream;
    if (image.format == PixelFormat::kPaletted) {
        const Bytes palette = paletteData(image);
        const uint8_t bitDepth = image::indexBitDepth(palette.size() / 3);
        appendChunk(out, "IHDR", headerData(image, bitDepth, kColourTypePaletted));
        appendChunk(out, "PLTE", palette);
        stream = compressed(image::packIndexRows(image, bitDepth), effort);
    } else {
        const uint8_t colourType = image.format == PixelFormat::kRgb ? kColourTypeRgb : kColourTypeRgba;
        appendChunk(out, "IHDR", headerData(image, 8, colourType));
        stream = effort == PngEffort::kQuick ? compressed(image::unfilteredRows(image), effort)
                                             : compressed(image::filterColourRows(image), effort);
    }
    if (stream.empty()) {
        return {};
    }
    appendImageData(out, stream);
    appendChunk(out, "IEND", {});
    return out;
}

}  // namespace zelvane
