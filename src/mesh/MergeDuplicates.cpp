#include <bit>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "MeshStore.h"

namespace zelvane {
namespace {

uint64_t componentBits(double value) {
    return value == 0.0 ? 0 : std::bit_cast<uint64_t>(value);  // -0.0 hashes as 0.0
}

struct Vector3Hash {
    size_t operator()(const Vector3& v) const {
        uint64_t h = componentBits(v.x) * 0x9E3779B97F4A7C15ull;
        h = (h ^ (h >> 29) ^ componentBits(v.y)) * 0xBF58476D1CE4E5B9ull;
        h = (h ^ (h >> 31) ^ componentBits(v.z)) * 0x94D049BB133111EBull;
        return static_cast<size_t>(h ^ (h >> 32));
    }
};

bool hasNaN(const Vector3& v) {
    return std::isnan(v.x) || std::isnan(v.y) || std::isnan(v.z);
}

// Keeps the first of every run of equal entries, in order, and returns the
// new index of every old entry. An entry with a NaN equals nothing, itself
// included, so it always stays.
std::vector<uint32_t> collapseEqualEntries(std::vector<Vector3>& entries) {
    std::unordered_map<Vector3, uint32_t, Vector3Hash> firstIndex;
    firstIndex.reserve(entries.size());
    std::vector<uint32_t> newIndex(entries.size());
    size_t distinctCount = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const Vector3 entry = entries[i];
        const auto candidate = static_cast<uint32_t>(distinctCount);
        if (!hasNaN(entry)) {
            auto [found, inserted] = firstIndex.try_emplace(entry, candidate);
            if (!inserted) {
                newIndex[i] = found->second;
                continue;
            }
        }
        entries[distinctCount++] = entry;
        newIndex[i] = candidate;
    }
    entries.resize(distinctCount);
    entries.shrink_to_fit();
    return newIndex;
}

// Rewrites one index field of every polygon; indices that were out of range
// stay as they were.
void rewriteIndices(std::vector<Polygon>& polygons, std::array<uint32_t, 4> Polygon::*field,
                    const std::vector<uint32_t>& newIndex) {
    for (Polygon& polygon : polygons) {
        auto& slots = polygon.*field;
        for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
            if (slots[corner] < newIndex.size()) {
                slots[corner] = newIndex[slots[corner]];
            }
        }
    }
}

}  // namespace

void MeshStore::mergeDuplicates() {
    rewriteIndices(polygons, &Polygon::vertex, collapseEqualEntries(positions));
    rewriteIndices(polygons, &Polygon::normal, collapseEqualEntries(normals));
    rewriteIndices(polygons, &Polygon::texcoord, collapseEqualEntries(texcoords));
    // Positions and normals are renumbered; the pairing served only additions.
    positionNormal_.clear();
}

}  // namespace zelvane
