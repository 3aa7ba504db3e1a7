#include "TgaWriter.h"

#include <algorithm>

#include "ByteSink.h"

namespace zelvane::tools {

namespace {

constexpr uint8_t kColourMapped = 1;
constexpr uint8_t kTrueColour = 2;
constexpr uint8_t kGrey = 3;
constexpr uint8_t kRunLength = 8;
constexpr uint8_t kTopDown = 0x20;
constexpr size_t kMaxPacket = 128;

size_t pixelBytes(const Image& image) {
    return image.format == PixelFormat::kPaletted ? 1 : image.format == PixelFormat::kRgb ? 3 : 4;
}

size_t storedPixelBytes(const Image& image, const TgaWriteOptions& options) {
    return options.grey ? pixelBytes(image) - 2 : pixelBytes(image);
}

uint8_t imageType(const Image& image, const TgaWriteOptions& options) {
    const uint8_t kind = image.format == PixelFormat::kPaletted ? kColourMapped : options.grey ? kGrey : kTrueColour;
    return kind | (options.runLength ? kRunLength : 0);
}

void appendHeader(std::vector<uint8_t>& out, const Image& image, const TgaWriteOptions& options) {
    const bool mapped = image.format == PixelFormat::kPaletted;
    appendU8(out, static_cast<uint32_t>(options.imageId.size()));
    appendU8(out, mapped ? 1 : 0);
    appendU8(out, imageType(image, options));
    appendU16(out, 0);
    appendU16(out, mapped ? static_cast<uint32_t>(image.palette.size()) : 0);
    appendU8(out, mapped ? 24 : 0);
    appendU16(out, 0);
    appendU16(out, 0);
    appendU16(out, image.width);
    appendU16(out, image.height);
    appendU8(out, static_cast<uint32_t>(8 * storedPixelBytes(image, options)));
    const uint8_t alphaBits = image.format == PixelFormat::kRgba ? 8 : 0;
    appendU8(out, alphaBits | (options.topDown ? kTopDown : 0));
    out.insert(out.end(), options.imageId.begin(), options.imageId.end());
    for (const auto& colour : mapped ? image.palette : std::vector<std::array<uint8_t, 3>>{}) {
        out.insert(out.end(), {colour[2], colour[1], colour[0]});
    }
}

void appendStoredPixel(std::vector<uint8_t>& stored, const uint8_t* pixel, size_t size, bool grey) {
    if (size == 1) {
        stored.push_back(pixel[0]);
        return;
    }
    if (grey) {
        stored.push_back(pixel[0]);
    } else {
        stored.insert(stored.end(), {pixel[2], pixel[1], pixel[0]});
    }
    if (size == 4) {
        stored.push_back(pixel[3]);
    }
}

// The file's order of the pixels' bytes: rows in file order, BGR(A) or
// grey (and alpha).
std::vector<uint8_t> storedPixels(const Image& image, const TgaWriteOptions& options) {
    const size_t size = pixelBytes(image);
    std::vector<uint8_t> stored;
    stored.reserve(image.pixels.size());
    for (uint32_t row = 0; row < image.height; ++row) {
        const uint32_t y = options.topDown ? row : image.height - 1 - row;
        const uint8_t* pixel = image.pixels.data() + size_t{y} * image.width * size;
        for (uint32_t x = 0; x < image.width; ++x, pixel += size) {
            appendStoredPixel(stored, pixel, size, options.grey);
        }
    }
    return stored;
}

// Packets over pixels [begin, end) of stored: a run packet for two or more
// equal pixels, else a raw packet up to the next run.
void appendPackets(std::vector<uint8_t>& out, const std::vector<uint8_t>& stored, size_t size, size_t begin,
                   size_t end) {
    const auto same = [&](size_t a, size_t b) {
        return std::equal(stored.begin() + a * size, stored.begin() + (a + 1) * size, stored.begin() + b * size);
    };
    for (size_t at = begin; at < end;) {
        size_t count = 1;
        while (at + count < end && count < kMaxPacket && same(at, at + count)) {
            ++count;
        }
        if (count == 1) {
            while (at + count < end && count < kMaxPacket && !same(at + count - 1, at + count)) {
                ++count;
            }
            appendU8(out, static_cast<uint32_t>(count - 1));
            out.insert(out.end(), stored.begin() + at * size, stored.begin() + (at + count) * size);
        } else {
            appendU8(out, 0x80 | static_cast<uint32_t>(count - 1));
            out.insert(out.end(), stored.begin() + at * size, stored.begin() + (at + 1) * size);
        }
        at += count;
    }
}

}  // namespace

std::vector<uint8_t> encodeTga(const Image& image, const TgaWriteOptions& options) {
    std::vector<uint8_t> out;
    appendHeader(out, image, options);
    const std::vector<uint8_t> stored = storedPixels(image, options);
    if (!options.runLength) {
        out.insert(out.end(), stored.begin(), stored.end());
        return out;
    }
    const size_t pixels = size_t{image.width} * image.height;
    const size_t span = options.runsAcrossRows ? pixels : image.width;
    for (size_t begin = 0; begin < pixels; begin += span) {
        appendPackets(out, stored, storedPixelBytes(image, options), begin, std::min(pixels, begin + span));
    }
    return out;
}

}  // namespace zelvane::tools
