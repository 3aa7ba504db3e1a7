// What a material group's surface shows: its colour, and the image its
// texture shows when there is one.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>  // Material.h uses size_t
#include <vector>

#include "image/Image.h"
#include "mesh/Material.h"

namespace zelvane::picture {

struct GroupPaint {
    std::array<double, 3> colour{};  // red, green, blue in 0..1
    const Image* image = nullptr;    // a usable image, or nullptr
};

// The material's colour with each channel clamped to 0..1 (a NaN taken as
// 0), and the image of its texture number: nullptr for an untextured
// material, a number without an entry, and an image without pixels or whose
// pixels do not match its size and format.
GroupPaint paintOf(const Material& material, const std::vector<const Image*>& imageOfTexture);

// The red, green and blue of the image's pixel nearest to (u, v), v counted
// from the image's top, both repeated beyond 0..1 (a coordinate that is
// not finite counts as 0), each in 0..255.
// Drawn at every covered sample of a textured surface, so defined here.
inline std::array<uint8_t, 3> nearestTexel(const Image& image, double u, double v) {
    // The pixel index of a repeated coordinate in 0..count - 1.
    const auto wrappedIndex = [](double coordinate, uint32_t count) {
        const double fraction = std::isfinite(coordinate) ? coordinate - std::floor(coordinate) : 0.0;
        const auto index = static_cast<uint32_t>(fraction * count);
        return index < count ? index : count - 1;
    };
    const size_t pixel = size_t{wrappedIndex(v, image.height)} * image.width + wrappedIndex(u, image.width);
    switch (image.format) {
        case PixelFormat::kPaletted: {
            const uint8_t index = image.pixels[pixel];
            return index < image.palette.size() ? image.palette[index] : std::array<uint8_t, 3>{};
        }
        case PixelFormat::kRgb:
            return {image.pixels[3 * pixel], image.pixels[3 * pixel + 1], image.pixels[3 * pixel + 2]};
        case PixelFormat::kRgba:
            return {image.pixels[4 * pixel], image.pixels[4 * pixel + 1], image.pixels[4 * pixel + 2]};
    }
    return {};
}

}  // namespace zelvane::picture
