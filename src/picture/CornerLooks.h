// What is interpolated across a polygon: each corner's normal and texture
// coordinates.
#pragma once

#include <array>
#include <optional>

#include "ModelFrame.h"
#include "ViewConstants.h"
#include "mesh/MeshStore.h"

namespace zelvane::picture {

struct CornerLook {
    Direction normal;  // unit length, in camera coordinates (x right, y up, z towards the eye)
    double u = 0.0;
    double v = 0.0;    // counted from the image's top
};

using PolygonLooks = std::array<CornerLook, 4>;

// The looks of a polygon's corners. A corner normal that has no direction
// (zero or not finite) gives way to the polygon's own, the cross product of
// its edges (a quad's diagonals), and that to (0, 0, 1) when the polygon has
// no area, as in the glTF output. The texture coordinates are the corners'
// when mapped (the polygon shows an image), with v turned to count from the
// top, a coordinate that is not finite taken as 0; (0, 0) otherwise.
PolygonLooks looksOfPolygon(const MeshStore& store, const ModelFrame& frame, const Polygon& polygon, bool mapped);

// A vector with a direction made unit length, scaled first so that its
// squares neither overflow nor vanish; nullopt for one without a direction.
std::optional<Direction> unitDirection(const Direction& v);

}  // namespace zelvane::picture
