// The vertex table of a MAG5 file written from the store, and each polygon
// corner's place in it.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "mesh/MeshStore.h"

namespace zelvane {

// A polygon is written flat when all its corners have one normal.
bool isFlat(const Polygon& polygon);

// A MAG5 vertex: a store position and the normal a smooth polygon takes
// from it.
struct Mag5Vertex {
    uint32_t position = 0;
    Vector3 normal;
};

// One vertex for every distinct position and normal that the corners of a
// smooth polygon have, in the order the polygons first use them. A flat
// polygon's corner takes a vertex at its position that a smooth polygon
// has, or else one of its own whose normal is the polygon's: either way no
// normal appears that the model did not have. Positions no polygon uses
// get no vertex.
class Mag5Vertices {
public:
    explicit Mag5Vertices(const MeshStore& store);

    const std::vector<Mag5Vertex>& vertices() const { return vertices_; }
    // The vertex of each corner of the polygon of that index.
    const std::array<uint32_t, 4>& cornerVertices(size_t polygon) const { return cornerVertices_[polygon]; }

private:
    void addSmoothCorners(size_t index, const Polygon& polygon);
    void addFlatCorners(size_t index, const Polygon& polygon);

    static constexpr uint32_t kNone = UINT32_MAX;
    const MeshStore& store_;
    std::vector<Mag5Vertex> vertices_;
    std::vector<std::array<uint32_t, 4>> cornerVertices_;  // per polygon
    std::vector<uint32_t> firstAtPosition_;  // per store position: its first vertex, kNone without
    std::vector<uint32_t> normalOfFirst_;    // per store position: the first vertex's normal number
    std::unordered_map<uint64_t, uint32_t> laterPairs_;  // (position, normal) beyond a position's first
};

}  // namespace zelvane
