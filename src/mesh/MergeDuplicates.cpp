#include <cstdint>
#include <vector>

#include "MeshStore.h"

namespace zelvane {
namespace {

// Keeps the first of every run of equal entries, in order, and returns the
// new index of every old entry. An entry with a NaN equals nothing, itself
// included, so it always stays.
std::vector<uint32_t> collapseEqualEntries(std::vector<Vector3>& entries) {
    Vector3Index distinct;  // over the front of entries, compacted in place
    distinct.reserve(entries.size());
    std::vector<uint32_t> newIndex(entries.size());
    uint32_t distinctCount = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const Vector3 entry = entries[i];
        newIndex[i] = distinct.findOrInsert(entries.data(), entry, distinctCount);
        if (newIndex[i] == distinctCount) {
            entries[distinctCount++] = entry;
        }
    }
    entries.resize(distinctCount);
    return newIndex;
}

// Rewrites the vertex indices of every polygon; indices that were out of
// range stay as they were.
void rewriteVertexIndices(std::vector<Polygon>& polygons, const std::vector<uint32_t>& newIndex) {
    for (Polygon& polygon : polygons) {
        for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
            uint32_t& vertex = polygon.vertex[corner];
            if (vertex < newIndex.size()) {
                vertex = newIndex[vertex];
            }
        }
    }
}

}  // namespace

void MeshStore::mergeDuplicates() {
    rewriteVertexIndices(polygons, collapseEqualEntries(positions));
    // Positions are renumbered; the pairing with normals served only additions.
    positionNormal_.clear();
}

}  // namespace zelvane
