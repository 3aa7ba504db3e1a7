// What a material group's surface shows: its colour, and the image its
// texture shows when there is one.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>  // Material.h uses size_t
#include <map>
#include <vector>

#include "image/Image.h"
#include "mesh/Material.h"

namespace zelvane::picture {

// What each of a paletted image's pixel values multiplies a surface's
// colour by: its palette entry's red, green and blue over 255, and 0 for a
// value beyond the palette. Worked out once per image, it saves every
// sample the palette's lookup and three conversions.
inline constexpr double kTexelByteScale = 1.0 / 255.0;  // a texel channel's byte to its factor
using PaletteFactors = std::array<std::array<double, 3>, 256>;
using PaletteFactorsOfImages = std::map<const Image*, PaletteFactors>;

struct GroupPaint {
    std::array<double, 3> colour{};  // red, green, blue in 0..1
    const Image* image = nullptr;    // a usable image, or nullptr
    const PaletteFactors* paletteFactors = nullptr;  // the image's, when it is paletted
};

// The material's colour with each channel clamped to 0..1 (a NaN taken as
// 0), and the image of its texture number: nullptr for an untextured
// material, a number without an entry, and an image without pixels or whose
// pixels do not match its size and format. A paletted image's factors are
// found in factors, or added to it.
GroupPaint paintOf(const Material& material, const std::vector<const Image*>& imageOfTexture,
                   PaletteFactorsOfImages& factors);

// The index of the image's pixel nearest to (u, v), v counted from the
// image's top, both repeated beyond 0..1 (a coordinate that is not finite
// counts as 0). Drawn at every covered sample of a textured surface, so
// defined here.
inline size_t nearestPixel(const Image& image, double u, double v) {
    // The pixel index of a repeated coordinate in 0..count - 1.
    const auto wrappedIndex = [](double coordinate, uint32_t count) {
        const double fraction = std::isfinite(coordinate) ? coordinate - std::floor(coordinate) : 0.0;
        const auto index = static_cast<uint32_t>(fraction * count);
        return index < count ? index : count - 1;
    };
    return size_t{wrappedIndex(v, image.height)} * image.width + wrappedIndex(u, image.width);
}

}  // namespace zelvane::picture
