#pragma once

#include <array>
#include <cstdint>

#include "mesh/MeshStore.h"

namespace zelvane {

// What a glTF vertex holds, as written: little-endian floats.
struct GltfVertex {
    std::array<float, 3> position{};
    std::array<float, 3> normal{};    // unit length
    std::array<float, 2> texcoord{};  // v counted from the image's top
};

// True for a normal that has a direction: finite and not zero.
bool hasDirection(const Vector3& normal);

// The vertices of a polygon's corners. The normal is the corner's, made unit
// length; a corner whose normal has no direction takes the polygon's own
// (from the cross product of its edges, or of a quad's diagonals), and
// (0, 0, 1) when the polygon has none either. The texture coordinate is the
// corner's when mapped and (0, 0) otherwise; a coordinate that is not
// finite becomes 0. A normal that the corner before had too is made unit
// length only once.
class PolygonVertices {
public:
    PolygonVertices(const MeshStore& store, const Polygon& polygon, bool mapped)
        : store_(store), polygon_(polygon), mapped_(mapped) {}

    // Corners are asked for in increasing order.
    GltfVertex vertexOf(uint32_t corner);

private:
    std::array<float, 3> normalOf(uint32_t corner);

    const MeshStore& store_;
    const Polygon& polygon_;
    bool mapped_;
    uint32_t lastNormal_ = UINT32_MAX;  // the normal index last made unit length
    std::array<float, 3> lastUnitNormal_{};
};

}  // namespace zelvane
