#include "SurfaceShading.h"

#include <cmath>

namespace zelvane::picture {

namespace {

constexpr double kByteScale = 1.0 / 255.0;

double lightOfCosine(double cosine) {
    return kAmbientShare + kDiffuseShare * (cosine > 0.0 ? cosine : 0.0);
}

bool sameDirection(const Direction& a, const Direction& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

uint8_t channelByte(double value) {
    return static_cast<uint8_t>(value * 255.0 + 0.5);
}

}  // namespace

TriangleShader::TriangleShader(const GroupPaint& paint, const TriangleLooks& corners)
    : paint_(&paint),
      corners_(corners),
      oneNormal_(sameDirection(corners[0]->normal, corners[1]->normal) &&
                 sameDirection(corners[0]->normal, corners[2]->normal)),
      frontLight_(lightOfCosine(dotProduct(corners[0]->normal, kLightInCamera))),
      backLight_(lightOfCosine(-dotProduct(corners[0]->normal, kLightInCamera))) {}

// The interpolated normal turned towards the eye; one that the
// interpolation cancelled counts as facing the eye.
double TriangleShader::lightAt(const std::array<double, 3>& weights, const Direction& towardsEye) const {
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
        return lightOfCosine(kLightInCamera.z);
    }
    const double cosine = dotProduct(normal, kLightInCamera) / std::sqrt(lengthSquared);
    return lightOfCosine(dotProduct(normal, towardsEye) < 0.0 ? -cosine : cosine);
}

SampleColour TriangleShader::shade(const std::array<double, 3>& weights, const Direction& towardsEye) const {
    const double light = lightAt(weights, towardsEye);
    std::array<double, 3> colour{paint_->colour[0] * light, paint_->colour[1] * light, paint_->colour[2] * light};
    if (paint_->image != nullptr) {
        const double u = weights[0] * corners_[0]->u + weights[1] * corners_[1]->u + weights[2] * corners_[2]->u;
        const double v = weights[0] * corners_[0]->v + weights[1] * corners_[1]->v + weights[2] * corners_[2]->v;
        const std::array<uint8_t, 3> texel = nearestTexel(*paint_->image, u, v);
        for (size_t channel = 0; channel < 3; ++channel) {
            colour[channel] = colour[channel] * (texel[channel] * kByteScale);
        }
    }
    return {channelByte(colour[0]), channelByte(colour[1]), channelByte(colour[2]), 255};
}

}  // namespace zelvane::picture
