#include "Mag5Vertices.h"

namespace zelvane {

bool isFlat(const Polygon& polygon) {
    for (uint32_t corner = 1; corner < polygon.cornerCount; ++corner) {
        if (polygon.normal[corner] != polygon.normal[0]) {
            return false;
        }
    }
    return true;
}

Mag5Vertices::Mag5Vertices(const MeshStore& store)
    : store_(store),
      cornerVertices_(store.polygons.size()),
      firstAtPosition_(store.positions.size(), kNone),
      normalOfFirst_(store.positions.size(), kNone) {
    // Smooth polygons first: a flat one may then share their vertices.
    for (size_t index = 0; index < store.polygons.size(); ++index) {
        const Polygon polygon = store.polygons[index];
        if (!isFlat(polygon)) {
            addSmoothCorners(index, polygon);
        }
    }
    for (size_t index = 0; index < store.polygons.size(); ++index) {
        const Polygon polygon = store.polygons[index];
        if (isFlat(polygon)) {
            addFlatCorners(index, polygon);
        }
    }
}

void Mag5Vertices::addSmoothCorners(size_t index, const Polygon& polygon) {
    for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
        const uint32_t position = polygon.vertex[corner];
        const uint32_t normal = polygon.normal[corner];
        uint32_t& vertex = cornerVertices_[index][corner];
        if (firstAtPosition_[position] == kNone) {
            firstAtPosition_[position] = vertex = static_cast<uint32_t>(vertices_.size());
            normalOfFirst_[position] = normal;
            vertices_.push_back({position, store_.normals[normal]});
        } else if (normalOfFirst_[position] == normal) {
            vertex = firstAtPosition_[position];
        } else {
            const auto [pair, added] =
                laterPairs_.try_emplace(uint64_t{position} << 32 | normal, static_cast<uint32_t>(vertices_.size()));
            if (added) {
                vertices_.push_back({position, store_.normals[normal]});
            }
            vertex = pair->second;
        }
    }
}

void Mag5Vertices::addFlatCorners(size_t index, const Polygon& polygon) {
    for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
        const uint32_t position = polygon.vertex[corner];
        if (firstAtPosition_[position] == kNone) {
            firstAtPosition_[position] = static_cast<uint32_t>(vertices_.size());
            vertices_.push_back({position, store_.normals[polygon.normal[0]]});
        }
        cornerVertices_[index][corner] = firstAtPosition_[position];
    }
}

}  // namespace zelvane
