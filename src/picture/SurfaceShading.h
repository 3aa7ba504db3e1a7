// The colour of a triangle's surface at its samples.
#pragma once

#include <array>

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
    SampleColour shade(const std::array<double, 3>& weights, const Direction& towardsEye) const;

private:
    double lightAt(const std::array<double, 3>& weights, const Direction& towardsEye) const;

    const GroupPaint* paint_;
    TriangleLooks corners_;
    bool oneNormal_;
    double frontLight_;  // with one normal: the light on the side it points to
    double backLight_;   // and on the other side
};

}  // namespace zelvane::picture
