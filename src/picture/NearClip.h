// Cutting a triangle at the near plane, before any division by its depth:
// a triangle that reaches behind the eye must not wrap round through
// infinity onto the screen.
#pragma once

#include <array>
#include <cstdint>

#include "CornerLooks.h"
#include "ModelFrame.h"

namespace zelvane::picture {

struct ClipCorner {
    CameraPoint point;
    CornerLook look;
};

// A convex polygon of up to four corners, in order.
struct ClippedPolygon {
    uint32_t cornerCount = 0;
    std::array<ClipCorner, 4> corners{};
};

// The part of the triangle at or beyond the near plane (depth at least
// kNearDistance): the triangle itself when it lies wholly there, nothing
// when it lies wholly before it, else a triangle or a quad whose new corners
// lie on the plane, with their looks interpolated along the cut edges.
ClippedPolygon clipToNearPlane(const std::array<ClipCorner, 3>& triangle);

}  // namespace zelvane::picture
