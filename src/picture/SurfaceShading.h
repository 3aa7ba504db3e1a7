// The colour of a triangle's surface at its samples.
#pragma once

#include <array>
#include <cmath>

#include "CornerLooks.h"
#include "GroupPaint.h"
#include "SampleStrip.h"

namespace zelvane::picture {

// The looks of a triangle's three corners.
using TriangleLooks = std::array<const CornerLook*, 3>;

// The group's colour, times the texel at the interpolated texture
// coordinates when the group shows an image, lit by the fixed light on the
// interpolated normal turned towards the eye: kAmbientShare, plus
// kDiffuseShare times the cosine between normal and light where it is
// positive. A triangle whose corners share one normal is lit the same all
// over each side, so it works out its light once.
class TriangleShader {
public:
    // The looks must outlive the shader.
    TriangleShader(const GroupPaint& paint, const TriangleLooks& corners);

    // The colour where the corners have the perspective-correct weights
    // given (summing to 1), seen in direction towardsEye (any length).
    // Called for every covered sample, so defined below.
    SampleColour shade(const std::array<double, 3>& weights, const Direction& towardsEye) const;

private:
    double lightAt(const std::array<double, 3>& weights, const Direction& towardsEye) const;

    const GroupPaint* paint_;
    TriangleLooks corners_;
    bool oneNormal_;
    double frontLight_;  // with one normal: the light on the side it points to
    double backLight_;   // and on the other side
};

namespace shading {

inline double lightOfCosine(double cosine) {
    return kAmbientShare + kDiffuseShare * (cosine > 0.0 ? cosine : 0.0);
}

inline uint8_t channelByte(double value) {
    return static_cast<uint8_t>(value * 255.0 + 0.5);
}

// What the image's pixel nearest to (u, v) multiplies the colour by: its
// red, green and blue over 255.
inline std::array<double, 3> texelFactors(const GroupPaint& paint, double u, double v) {
    const Image& image = *paint.image;
    const size_t pixel = nearestPixel(image, u, v);
    if (image.format == PixelFormat::kPaletted) {
        return (*paint.paletteFactors)[image.pixels[pixel]];
    }
    const uint8_t* texel = image.pixels.data() + (image.format == PixelFormat::kRgb ? 3 : 4) * pixel;
    return {texel[0] * kTexelByteScale, texel[1] * kTexelByteScale, texel[2] * kTexelByteScale};
}

}  // namespace shading

// The interpolated normal turned towards the eye; one that the
// interpolation cancelled counts as facing the eye.
inline double TriangleShader::lightAt(const std::array<double, 3>& weights, const Direction& towardsEye) const {
    if (oneNormal_) {
        return dotProduct(corners_[0]->normal, towardsEye) < 0.0 ? backLight_ : frontLight_;
    }
    Direction normal;
    for (size_t k = 0; k < 3; ++k) {
        const Direction& corner = corners_[k]->normal;
        normal = {normal.x + weights[k] * corner.x, normal.y + weights[k] * corner.y, normal.z + weights[k] * corner.z};
    }
    const double lengthSquared = dotProduct(normal, normal);
    if (!(lengthSquared > 0.0)) {
        return shading::lightOfCosine(kLightInCamera.z);
    }
    const double cosine = dotProduct(normal, kLightInCamera) / std::sqrt(lengthSquared);
    return shading::lightOfCosine(dotProduct(normal, towardsEye) < 0.0 ? -cosine : cosine);
}

inline SampleColour TriangleShader::shade(const std::array<double, 3>& weights, const Direction& towardsEye) const {
    const double light = lightAt(weights, towardsEye);
    std::array<double, 3> colour{paint_->colour[0] * light, paint_->colour[1] * light, paint_->colour[2] * light};
    if (paint_->image != nullptr) {
        const double u = weights[0] * corners_[0]->u + weights[1] * corners_[1]->u + weights[2] * corners_[2]->u;
        const double v = weights[0] * corners_[0]->v + weights[1] * corners_[1]->v + weights[2] * corners_[2]->v;
        const std::array<double, 3> factor = shading::texelFactors(*paint_, u, v);
        for (size_t channel = 0; channel < 3; ++channel) {
            colour[channel] = colour[channel] * factor[channel];
        }
    }
    return {shading::channelByte(colour[0]), shading::channelByte(colour[1]), shading::channelByte(colour[2]), 255};
}

}  // namespace zelvane::picture
