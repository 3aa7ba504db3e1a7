#include "GroupPaint.h"

#include <algorithm>
#include <cmath>

namespace zelvane::picture {

namespace {

double clampedChannel(double value) {
    if (!(value > 0.0)) {
        return 0.0;  // also a NaN
    }
    return value < 1.0 ? value : 1.0;
}

size_t bytesPerPixel(PixelFormat format) {
    switch (format) {
        case PixelFormat::kPaletted:
            return 1;
        case PixelFormat::kRgb:
            return 3;
        case PixelFormat::kRgba:
            return 4;
    }
    return 0;
}

// The first comparison of the pixel count bounds the product in the second.
bool usable(const Image& image) {
    const size_t bytes = bytesPerPixel(image.format);
    return image.width != 0 && image.height != 0 && bytes != 0 &&
           image.pixels.size() / bytes / image.width == image.height &&
           image.pixels.size() == size_t{image.width} * image.height * bytes &&
           (image.format != PixelFormat::kPaletted || !image.palette.empty());
}

PaletteFactors paletteFactorsOf(const Image& image) {
    PaletteFactors factors{};
    for (size_t index = 0; index < std::min(image.palette.size(), factors.size()); ++index) {
        for (size_t channel = 0; channel < 3; ++channel) {
            factors[index][channel] = image.palette[index][channel] * kTexelByteScale;
        }
    }
    return factors;
}

}  // namespace

GroupPaint paintOf(const Material& material, const std::vector<const Image*>& imageOfTexture,
                   PaletteFactorsOfImages& factors) {
    GroupPaint paint{{clampedChannel(material.colour[0]), clampedChannel(material.colour[1]),
                      clampedChannel(material.colour[2])},
                     nullptr};
    if (material.textured() && material.texture < imageOfTexture.size()) {
        const Image* image = imageOfTexture[material.texture];
        paint.image = image != nullptr && usable(*image) ? image : nullptr;
    }
    if (paint.image != nullptr && paint.image->format == PixelFormat::kPaletted) {
        auto found = factors.find(paint.image);
        if (found == factors.end()) {
            found = factors.emplace(paint.image, paletteFactorsOf(*paint.image)).first;
        }
        paint.paletteFactors = &found->second;
    }
    return paint;
}

}  // namespace zelvane::picture
