#pragma once

#include <cstddef>

#include "MeshStore.h"

namespace zelvane {

// Calls visit(polygonIndex, polygon) for a group's polygons [begin, end), in
// order. A group's polygons lie scattered through the store's list, so each
// is fetched a few polygons ahead of its visit.
template <typename Visit>
void forEachGroupPolygon(const PolygonList& polygons, const GroupPolygons& members, size_t begin, size_t end,
                         Visit visit) {
    constexpr size_t kLookahead = 8;
    for (size_t i = begin; i < end; ++i) {
        if (i + kLookahead < end) {
            polygons.prefetch(members[i + kLookahead]);
        }
        visit(members[i], polygons[members[i]]);
    }
}

}  // namespace zelvane
