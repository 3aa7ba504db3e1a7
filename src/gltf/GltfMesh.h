#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "mesh/GroupWalk.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// The one glTF mesh of a store: its distinct corners (position, normal and
// texture coordinate indices) as vertices, which every primitive shares,
// and a primitive of triangles per material group, in the groups' order. A
// quad (0, 1, 2, 3) gives the triangles (0, 1, 2) and (0, 2, 3). Only the
// corners of mapped groups (those whose material shows an image) have
// texture coordinates; elsewhere they would serve nothing.
//
// A triangle two of whose corners have one position (the store holds each
// position once) draws nothing and is left out (see keptTriangles), and so
// is a corner of no other triangle: it gets no vertex. A group left with no
// triangle gets no primitive.
//
// Vertices are numbered in the order their corners first come, polygon
// after polygon in group order and corner after corner, so that a writer
// going through the corners in that order again meets each vertex first
// where its index is the next one (see forEachGroupPolygon, cornerSlot).
struct GltfMesh {
    // How far the numbering had come at a group's polygon, so that a writer
    // can start there: at every kCheckpointSpacing-th polygon of each group.
    struct Checkpoint {
        uint32_t nextVertex = 0;
        size_t firstIndex = 0;  // the polygon's first in indices
    };
    static constexpr size_t kCheckpointSpacing = 64;

    // A group with a triangle: its material and polygons, whether it shows
    // an image, where its checkpoints start and where its indices end.
    struct Primitive {
        const MaterialGroups::value_type* group = nullptr;
        bool mapped = false;
        size_t firstCheckpoint = 0;
        size_t indicesEnd = 0;
    };

    LargeVector<uint32_t> indices;  // three per triangle, primitive after primitive
    std::vector<Primitive> primitives;
    size_t polygonCount = 0;  // the polygons with a triangle
    bool everyTriangleKept = true;  // no polygon lost one: keptTriangles need not be asked
    uint32_t vertexCount = 0;
    uint32_t largestIndex = 0;
    // The smallest and largest position coordinates written, as floats.
    std::array<float, 3> minimum{};
    std::array<float, 3> maximum{};
    bool textured = false;  // some group is mapped: the vertices carry texture coordinates
    std::vector<Checkpoint> checkpoints;  // group after group
};

// mapped holds a flag per group, in map order.
GltfMesh buildGltfMesh(const MeshStore& store, const std::vector<bool>& mapped);

// Which of a polygon's triangles are written: bit 0 for (0, 1, 2), bit 1
// for a quad's (0, 2, 3). A triangle two of whose corners have one position
// has no area, draws nothing in any reader, and is left out.
inline uint32_t keptTriangles(const Polygon& polygon) {
    const auto& v = polygon.vertex;
    const bool firstKept = v[0] != v[1] && v[1] != v[2] && v[0] != v[2];
    const bool secondKept = polygon.cornerCount == 4 && v[0] != v[2] && v[2] != v[3] && v[0] != v[3];
    return (firstKept ? 1u : 0u) | (secondKept ? 2u : 0u);
}
inline constexpr uint32_t kBothTriangles = 3;
// What keptTriangles gives when the polygon keeps every triangle.
inline uint32_t allTrianglesOf(const Polygon& polygon) {
    return polygon.cornerCount == 4 ? kBothTriangles : 1u;
}
// The triangles a polygon of the mesh keeps.
inline uint32_t keptTrianglesIn(const GltfMesh& mesh, const Polygon& polygon) {
    return mesh.everyTriangleKept ? allTrianglesOf(polygon) : keptTriangles(polygon);
}

// Where in a polygon's written indices corner's vertex stands, by the
// triangles kept: 0 1 2 0 2 3 for a quad that keeps both, 0 1 2 for the
// first alone, 0 2 3 for the second alone; kNoSlot for a corner of no
// written triangle.
inline constexpr size_t kNoSlot = SIZE_MAX;
inline constexpr size_t kCornerSlots[4][4] = {
    {kNoSlot, kNoSlot, kNoSlot, kNoSlot}, {0, 1, 2, kNoSlot}, {0, kNoSlot, 1, 2}, {0, 1, 2, 5}};
inline size_t cornerSlot(uint32_t kept, uint32_t corner) {
    return kCornerSlots[kept][corner];
}
inline size_t indexCountOf(uint32_t kept) {
    return kept == kBothTriangles ? 6 : kept == 0 ? 0 : 3;
}

}  // namespace zelvane
