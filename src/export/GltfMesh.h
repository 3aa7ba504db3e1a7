#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "mesh/MeshStore.h"

namespace zelvane {

// The one glTF mesh of a store: its distinct corners (position, normal and
// texture coordinate indices) as vertices, which every primitive shares,
// and a primitive of triangles per material group, in the groups' order. A
// quad (0, 1, 2, 3) gives the triangles (0, 1, 2) and (0, 2, 3). Only the
// corners of mapped groups (those whose material shows an image) have
// texture coordinates; elsewhere they would serve nothing.
//
// Vertices are numbered in the order their corners first come, polygon
// after polygon in group order and corner after corner, so that a writer
// going through the corners in that order again meets each vertex first
// where its index is the next one (see forEachPolygonOf, cornerSlot).
struct GltfMesh {
    // How far the numbering had come at a group's polygon, so that a writer
    // can start there: at every kCheckpointSpacing-th polygon of each group.
    struct Checkpoint {
        uint32_t nextVertex = 0;
        size_t firstIndex = 0;  // the polygon's first in indices
    };
    static constexpr size_t kCheckpointSpacing = 64;

    LargeVector<uint32_t> indices;      // three per triangle, primitive after primitive
    std::vector<size_t> primitiveEnds;  // per group: where its indices end
    uint32_t vertexCount = 0;
    uint32_t largestIndex = 0;
    // The smallest and largest position coordinates written, as floats.
    std::array<float, 3> minimum{};
    std::array<float, 3> maximum{};
    bool textured = false;  // some group is mapped: the vertices carry texture coordinates
    std::vector<Checkpoint> checkpoints;  // group after group
    std::vector<size_t> firstCheckpoint;  // per group: its first checkpoint
};

// mapped holds a flag per group, in map order.
GltfMesh buildGltfMesh(const MeshStore& store, const std::vector<bool>& mapped);

// Where in a polygon's indices corner's vertex stands: a triangle's three
// in order, a quad's as 0 1 2 0 2 3.
inline size_t cornerSlot(uint32_t cornerCount, uint32_t corner) {
    return cornerCount == 4 && corner == 3 ? 5 : corner;
}
inline size_t indexCountOf(uint32_t cornerCount) {
    return cornerCount == 4 ? 6 : 3;
}

// Calls visit(polygonIndex, polygon) for the group's polygons [begin, end),
// in order, fetching polygons a little ahead.
template <typename Visit>
void forEachPolygonOf(const MeshStore& store, const GroupPolygons& members, size_t begin, size_t end, Visit visit) {
    constexpr size_t kLookahead = 8;
    for (size_t i = begin; i < end; ++i) {
        if (i + kLookahead < end) {
            store.polygons.prefetch(members[i + kLookahead]);
        }
        visit(members[i], store.polygons[members[i]]);
    }
}

}  // namespace zelvane
