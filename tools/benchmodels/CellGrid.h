// A rectangular grid of cells over shared vertices, filled row by row with
// polygons: a cell holds one quad, or two triangles when it is split.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zelvane::tools {

struct CellGrid {
    uint32_t columns = 0;
    uint32_t rows = 0;
    uint32_t vertexIndex(uint32_t x, uint32_t y) const { return y * (columns + 1) + x; }
    uint32_t vertexCount() const { return (columns + 1) * (rows + 1); }
};

// A grid of the given width with as many rows as polygonCount polygons need;
// the last row may stay partly empty.
template <typename SplitCell>
CellGrid gridFor(uint32_t polygonCount, uint32_t columns, SplitCell splitCell) {
    CellGrid grid;
    grid.columns = columns;
    uint64_t polygons = 0;
    while (polygons < polygonCount) {
        for (uint32_t x = 0; x < grid.columns && polygons < polygonCount; ++x) {
            polygons += splitCell(x, grid.rows) ? 2 : 1;
        }
        ++grid.rows;
    }
    return grid;
}

// A grid of about square cells for a mix of quads and pairs of triangles,
// which holds some 1.4 polygons a cell.
template <typename SplitCell>
CellGrid mixedGridFor(uint32_t polygonCount, SplitCell splitCell) {
    const uint32_t columns = std::max<uint32_t>(4, static_cast<uint32_t>(std::sqrt(polygonCount * 0.7)));
    return gridFor(polygonCount, columns, splitCell);
}

}  // namespace zelvane::tools
