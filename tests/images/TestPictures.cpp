#include "TestPictures.h"

#include <cstddef>

namespace zelvane::test {

namespace {

uint32_t scramble(uint32_t x, uint32_t y, uint32_t salt) {
    uint32_t value = x * 0x9E3779B1u + y * 0x85EBCA77u + salt * 0xC2B2AE3Du;
    value ^= value >> 15;
    value *= 0x2C1B3C6Du;
    return value ^ value >> 12;
}

// A value below range for one channel: by kind of row as patternImage says.
uint32_t patternValue(uint32_t x, uint32_t y, uint32_t channel, uint32_t range) {
    switch (y % 5) {
        case 0:
        case 1:
            return (y / 5 * 37 + 11) % range;  // the same for every channel: runs across planes too
        case 2:
            return scramble(x / (1 + y % 7 * 11), y, channel) % range;
        case 3:
            return (x * range / 70 + channel * 40) % range;
        default:
            return scramble(x, y, channel + 3) % range;
    }
}

std::vector<std::array<uint8_t, 3>> distinctColours(uint32_t colours) {
    if (colours == 2) {
        return {{0, 0, 0}, {255, 255, 255}};
    }
    std::vector<std::array<uint8_t, 3>> palette;
    for (uint32_t index = 0; index < colours; ++index) {
        const uint32_t value = scramble(index, 0, 99);
        palette.push_back({static_cast<uint8_t>(index), static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
    }
    return palette;
}

size_t channelsOf(PixelFormat format) {
    return format == PixelFormat::kPaletted ? 1 : format == PixelFormat::kRgb ? 3 : 4;
}

}  // namespace

Image patternImage(uint32_t width, uint32_t height, PixelFormat format, uint32_t colours) {
    Image image;
    image.width = width;
    image.height = height;
    image.format = format;
    const size_t channels = channelsOf(format);
    const uint32_t range = format == PixelFormat::kPaletted ? colours : 256;
    if (format == PixelFormat::kPaletted) {
        image.palette = distinctColours(colours);
    }
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            for (uint32_t channel = 0; channel < channels; ++channel) {
                image.pixels.push_back(static_cast<uint8_t>(patternValue(x, y, channel, range)));
            }
        }
    }
    return image;
}

std::vector<uint8_t> rgbaOf(const Image& image) {
    std::vector<uint8_t> rgba;
    const size_t channels = channelsOf(image.format);
    for (size_t at = 0; at < image.pixels.size(); at += channels) {
        if (image.format == PixelFormat::kPaletted) {
            const auto& colour = image.palette.at(image.pixels[at]);
            rgba.insert(rgba.end(), {colour[0], colour[1], colour[2], 255});
        } else {
            rgba.insert(rgba.end(), image.pixels.begin() + static_cast<std::ptrdiff_t>(at),
                        image.pixels.begin() + static_cast<std::ptrdiff_t>(at + 3));
            rgba.push_back(channels == 4 ? image.pixels[at + 3] : 255);
        }
    }
    return rgba;
}

}  // namespace zelvane::test
