#include "NearClip.h"

#include "ViewConstants.h"

namespace zelvane::picture {

namespace {

bool beyondNearPlane(const ClipCorner& corner) {
    return corner.point.depth >= kNearDistance;
}

double between(double a, double b, double t) {
    return a + (b - a) * t;
}

Direction between(const Direction& a, const Direction& b, double t) {
    return {between(a.x, b.x, t), between(a.y, b.y, t), between(a.z, b.z, t)};
}

// Where the edge from a to b meets the near plane; the two lie on either side.
ClipCorner crossingOf(const ClipCorner& a, const ClipCorner& b) {
    const double t = (kNearDistance - a.point.depth) / (b.point.depth - a.point.depth);
    ClipCorner crossing;
    crossing.point = {between(a.point.x, b.point.x, t), between(a.point.y, b.point.y, t), kNearDistance};
    crossing.look = {between(a.look.normal, b.look.normal, t), between(a.look.u, b.look.u, t),
                     between(a.look.v, b.look.v, t)};
    return crossing;
}

}  // namespace

ClippedPolygon clipToNearPlane(const std::array<ClipCorner, 3>& triangle) {
    ClippedPolygon clipped;
    for (size_t k = 0; k < 3; ++k) {
        const ClipCorner& from = triangle[k];
        const ClipCorner& to = triangle[(k + 1) % 3];
        if (beyondNearPlane(from)) {
            clipped.corners[clipped.cornerCount++] = from;
        }
        if (beyondNearPlane(from) != beyondNearPlane(to)) {
            clipped.corners[clipped.cornerCount++] = crossingOf(from, to);
        }
    }
    return clipped;
}

}  // namespace zelvane::picture
