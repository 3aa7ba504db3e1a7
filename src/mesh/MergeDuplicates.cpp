#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <numeric>

#include "MeshStore.h"

namespace zelvane {
namespace {

// Keeps the first of every run of equal entries, in order, and returns the
// new index of every old entry, or nothing when every entry kept its index
// (then no memory was set aside for them).
// An entry with a NaN equals nothing, itself included, so it always stays.
LargeVector<uint32_t> collapseEqualEntries(Vector3Array& entries) {
    ValueIndex<Vector3Array> distinct;  // over the front of entries, compacted in place
    distinct.reserve(entries.size(), entries);
    LargeVector<uint32_t> newIndex;  // made at the first entry that moves
    // Large arrays hash to slots all over the table: fetch the slots of the
    // entries a little ahead while working on the current one.
    constexpr size_t kLookahead = 16;
    std::array<uint64_t, kLookahead> hashes{};
    for (size_t i = 0; i < std::min(kLookahead, entries.size()); ++i) {
        hashes[i] = hashOf(entries[i]);
        distinct.prefetch(hashes[i]);
    }
    uint32_t distinctCount = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const Vector3 entry = entries[i];
        const uint64_t hash = hashes[i % kLookahead];
        if (i + kLookahead < entries.size()) {
            hashes[i % kLookahead] = hashOf(entries[i + kLookahead]);
            distinct.prefetch(hashes[i % kLookahead]);
        }
        const uint32_t index = distinct.findOrInsert(entries, entry, distinctCount, hash);
        if (index != i && newIndex.empty()) {
            newIndex.resize(entries.size());
            std::iota(newIndex.begin(), newIndex.begin() + static_cast<ptrdiff_t>(i), uint32_t{0});
        }
        if (!newIndex.empty()) {
            newIndex[i] = index;
        }
        if (index == distinctCount) {
            if (i != distinctCount) {
                entries.copyEntry(i, distinctCount);
            }
            ++distinctCount;
        }
    }
    if (newIndex.empty()) {
        return {};
    }
    entries.truncate(distinctCount);
    return newIndex;
}

}  // namespace

void MeshStore::mergeDuplicates() {
    // Positions are about to be renumbered; the pairing with normals and the
    // lookups served only additions. Their memory goes before the merge
    // needs more.
    LargeVector<uint32_t>().swap(positionNormal_);
    LargeVector<uint32_t>().swap(positionTexcoord_);
    normalIndex_.release();
    texcoordIndex_.release();
    polygons.renumberVertices(collapseEqualEntries(positions));
}

}  // namespace zelvane
