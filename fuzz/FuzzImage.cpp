// libFuzzer target: any bytes through every image decoder, the PNG and JPEG
// header checks, and the PNG encoder for what decodes.
//
// A decoded image must be consistent: its size within the limits, as many
// pixel bytes as its size and format need, a palette of 1 to 256 colours
// that every index falls within. Its PNG file must read back, through
// stb_image's PNG decoder, to the very same colours. A failure must come
// with words. Anything else aborts, and so does every fault the sanitizers
// see.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "image/ImageCodec.h"
#include "image/StbImage.h"

namespace {

using zelvane::Image;
using zelvane::ImageFormat;
using zelvane::PixelFormat;

constexpr uint32_t kMaxSide = 16384;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "FuzzImage: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

void expect(bool condition, const char* what) {
    if (!condition) {
        fail(what);
    }
}

size_t channelsOf(PixelFormat format) {
    return format == PixelFormat::kPaletted ? 1 : format == PixelFormat::kRgb ? 3 : 4;
}

void checkConsistent(const Image& image) {
    expect(image.width > 0 && image.height > 0, "empty image");
    expect(image.width <= kMaxSide && image.height <= kMaxSide, "image over the size limit");
    expect(image.pixels.size() == size_t{image.width} * image.height * channelsOf(image.format),
           "pixel bytes do not match the size");
    if (image.format != PixelFormat::kPaletted) {
        expect(image.palette.empty(), "a palette in an image of colours");
        return;
    }
    expect(!image.palette.empty() && image.palette.size() <= 256, "palette of no or too many colours");
    for (const uint8_t index : image.pixels) {
        expect(index < image.palette.size(), "index past the palette");
    }
}

// The colours as RGB, or RGBA when the image has alpha.
std::vector<uint8_t> coloursOf(const Image& image) {
    if (image.format != PixelFormat::kPaletted) {
        return image.pixels;
    }
    std::vector<uint8_t> colours;
    colours.reserve(image.pixels.size() * 3);
    for (const uint8_t index : image.pixels) {
        const auto& colour = image.palette[index];
        colours.insert(colours.end(), colour.begin(), colour.end());
    }
    return colours;
}

void checkPngReadsBack(const Image& image, zelvane::PngEffort effort) {
    const std::vector<uint8_t> png = zelvane::encodePng(image, effort);
    expect(!png.empty(), "no PNG for a decoded image");
    expect(zelvane::detectImageFormat(png, "") == ImageFormat::kPng, "PNG without its signature");
    expect(zelvane::checkImageHeader(png, ImageFormat::kPng).empty(), "PNG header refused");
    const std::optional<zelvane::image::StbInfo> info = zelvane::image::readStbInfo(png);
    expect(info.has_value(), "PNG header unreadable");
    const std::optional<Image> readBack = zelvane::image::loadWithStb(png, *info);
    expect(readBack.has_value(), "PNG does not decode");
    expect(readBack->width == image.width && readBack->height == image.height, "PNG of another size");
    expect(readBack->pixels == coloursOf(image), "PNG of other colours");
}

void decodeAs(std::span<const uint8_t> bytes, ImageFormat format) {
    const zelvane::DecodedImage decoded = zelvane::decodeImage(bytes, format);
    if (!decoded.image) {
        expect(!decoded.error.empty(), "failure without words");
        return;
    }
    expect(decoded.error.empty(), "words with an image");
    checkConsistent(*decoded.image);
    checkPngReadsBack(*decoded.image, zelvane::PngEffort::kSmallest);
    checkPngReadsBack(*decoded.image, zelvane::PngEffort::kQuick);
}

void checkDetection(std::span<const uint8_t> bytes) {
    const ImageFormat bySignature = zelvane::detectImageFormat(bytes, "texture");
    const ImageFormat withTgaName = zelvane::detectImageFormat(bytes, "texture.TGA");
    expect(bySignature != ImageFormat::kTga, "TGA without its name");
    expect(withTgaName == (bySignature == ImageFormat::kUnknown ? ImageFormat::kTga : bySignature),
           "a TGA name overrides a signature");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    checkDetection(bytes);
    for (const ImageFormat format :
         {ImageFormat::kPcx, ImageFormat::kBmp, ImageFormat::kTga, ImageFormat::kPng, ImageFormat::kJpeg}) {
        decodeAs(bytes, format);
    }
    zelvane::checkImageHeader(bytes, ImageFormat::kPng);
    zelvane::checkImageHeader(bytes, ImageFormat::kJpeg);
    return 0;
}
