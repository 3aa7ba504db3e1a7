#include "GroupPaint.h"

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

}  // namespace

GroupPaint paintOf(const Material& material, const std::vector<const Image*>& imageOfTexture) {
    GroupPaint paint{{clampedChannel(material.colour[0]), clampedChannel(material.colour[1]),
                      clampedChannel(material.colour[2])},
                     nullptr};
    if (material.textured() && material.texture < imageOfTexture.size()) {
        const Image* image = imageOfTexture[material.texture];
        paint.image = image != nullptr && usable(*image) ? image : nullptr;
    }
    return paint;
}

}  // namespace zelvane::picture
