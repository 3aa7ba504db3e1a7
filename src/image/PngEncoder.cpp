// Writing PNG files: the scanlines of an image, compressed.
#include <algorithm>
#include <climits>

#include "ImageCodec.h"
#include "PngChunks.h"
#include "PngScanlines.h"
#include "ZlibCompress.h"

namespace zelvane {

namespace {

using Bytes = std::vector<uint8_t>;

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

}  // namespace

std::vector<uint8_t> encodePng(const Image& image, PngEffort effort) {
    if (!isWellFormed(image)) {
        return {};
    }
    if (image.format == PixelFormat::kPaletted) {
        const Bytes palette = paletteData(image);
        const uint8_t bitDepth = image::indexBitDepth(palette.size() / 3);
        const Bytes stream = compressed(image::packIndexRows(image, bitDepth), effort);
        return stream.empty() ? Bytes{}
                              : image::assemblePng({image.width, image.height, bitDepth, image::kPngColourTypePaletted},
                                                   palette, stream);
    }
    const uint8_t colourType =
        image.format == PixelFormat::kRgb ? image::kPngColourTypeRgb : image::kPngColourTypeRgba;
    const Bytes stream = effort == PngEffort::kQuick ? compressed(image::unfilteredRows(image), effort)
                                                     : compressed(image::filterColourRows(image), effort);
    return stream.empty() ? Bytes{} : image::assemblePng({image.width, image.height, 8, colourType}, {}, stream);
}

}  // namespace zelvane
