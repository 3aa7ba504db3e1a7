// Which samples a triangle covers: integer edge functions over the
// triangle's box of samples, with the top-left rule, so that two triangles
// that share an edge never both cover a sample on it and never both miss it.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "ScreenMapping.h"

namespace zelvane::picture {

// The rows [first, end) of a band of samples, each columns samples wide.
struct SampleRows {
    uint32_t columns = 0;
    uint32_t first = 0;
    uint32_t end = 0;
};

// At a covered sample, corner k's weight is edge[k] / area: twice the area
// of the triangle the sample forms with the other two corners over twice the
// triangle's own (both counted positive: both sides of a triangle are
// covered).
struct CoveredSample {
    uint32_t column = 0;
    uint32_t row = 0;
    std::array<int64_t, 3> edge{};
    int64_t area = 0;
};

namespace raster {

// a x + b y + c over screen coordinates: positive inside, 0 on the edge.
// A sample on the edge is covered when the edge is a left edge (inside to
// its right) or a top one (horizontal, inside below).
struct Edge {
    int64_t a = 0;
    int64_t b = 0;
    int64_t c = 0;
    int64_t bias = 0;  // 0 for a left or top edge, 1 otherwise: covered when value - bias >= 0
};

inline Edge edgeThrough(const ScreenPoint& from, const ScreenPoint& to, int64_t orientation) {
    Edge edge;
    edge.a = (int64_t{from.y} - to.y) * orientation;
    edge.b = (int64_t{to.x} - from.x) * orientation;
    edge.c = -(edge.a * from.x + edge.b * from.y);
    edge.bias = edge.a > 0 || (edge.a == 0 && edge.b > 0) ? 0 : 1;
    return edge;
}

// The first and last sample whose centre lies within [low, high].
inline std::array<int64_t, 2> samplesWithin(int64_t low, int64_t high) {
    return {(low + kSubsamples / 2 - 1) >> kSubsampleBits, (high - kSubsamples / 2) >> kSubsampleBits};
}

inline int64_t sampleCentre(int64_t sample) {
    return sample * kSubsamples + kSubsamples / 2;
}

// The samples of the rows whose centres lie within the box of the points:
// first and last column, first and last row (none when a first lies beyond
// its last).
inline std::array<int64_t, 4> samplesInBox(const ScreenPoint* points, size_t count, const SampleRows& rows) {
    int32_t left = points[0].x;
    int32_t right = points[0].x;
    int32_t top = points[0].y;
    int32_t bottom = points[0].y;
    for (size_t k = 1; k < count; ++k) {
        left = std::min(left, points[k].x);
        right = std::max(right, points[k].x);
        top = std::min(top, points[k].y);
        bottom = std::max(bottom, points[k].y);
    }
    const auto [firstColumn, lastColumn] = samplesWithin(left, right);
    const auto [firstRow, lastRow] = samplesWithin(top, bottom);
    return {std::max<int64_t>(firstColumn, 0), std::min<int64_t>(lastColumn, int64_t{rows.columns} - 1),
            std::max<int64_t>(firstRow, rows.first), std::min<int64_t>(lastRow, int64_t{rows.end} - 1)};
}

// Boxes narrower than this many samples are scanned whole: finding where a
// row's covered samples lie costs divisions that a few samples do not repay.
inline constexpr int64_t kNarrowBox = 8;

// The first and last step d in [0, last] at which start + step * d >= 0 for
// all three edges: where a row's covered samples lie (first > last when
// none).
inline std::array<int64_t, 2> coveredSteps(const std::array<int64_t, 3>& start, const std::array<int64_t, 3>& step,
                                           int64_t last) {
    int64_t first = 0;
    for (size_t k = 0; k < 3; ++k) {
        if (step[k] > 0 && start[k] < 0) {
            const int64_t below = -start[k];
            first = std::max(first, below / step[k] + (below % step[k] != 0 ? 1 : 0));
        } else if (step[k] < 0) {
            last = start[k] < 0 ? -1 : std::min(last, start[k] / -step[k]);
        } else if (step[k] == 0 && start[k] < 0) {
            last = -1;
        }
    }
    return {first, last};
}

}  // namespace raster

// Whether the box of the points holds the centre of a sample of the rows:
// a polygon whose corners' box holds none covers none.
inline bool boxHoldsSamples(const ScreenPoint* points, size_t count, const SampleRows& rows) {
    const auto [left, right, top, bottom] = raster::samplesInBox(points, count, rows);
    return left <= right && top <= bottom;
}

// Calls visit(const CoveredSample&) for every sample of the rows that the
// triangle covers, row by row from the top, left to right; in a wide box,
// each row's scan starts and ends where the edges say. A triangle without
// area covers none.
template <typename Visit>
void visitCoveredSamples(const std::array<ScreenPoint, 3>& corner, const SampleRows& rows, Visit&& visit) {
    const auto [left, right, top, bottom] = raster::samplesInBox(corner.data(), corner.size(), rows);
    if (left > right || top > bottom) {
        return;
    }
    const int64_t area = (int64_t{corner[1].x} - corner[0].x) * (int64_t{corner[2].y} - corner[0].y) -
                         (int64_t{corner[1].y} - corner[0].y) * (int64_t{corner[2].x} - corner[0].x);
    if (area == 0) {
        return;
    }
    const int64_t orientation = area > 0 ? 1 : -1;
    const std::array<raster::Edge, 3> edges{raster::edgeThrough(corner[1], corner[2], orientation),
                                            raster::edgeThrough(corner[2], corner[0], orientation),
                                            raster::edgeThrough(corner[0], corner[1], orientation)};
    std::array<int64_t, 3> rowStart;
    std::array<int64_t, 3> columnStep;
    for (size_t k = 0; k < 3; ++k) {
        const raster::Edge& e = edges[k];
        rowStart[k] = e.a * raster::sampleCentre(left) + e.b * raster::sampleCentre(top) + e.c - e.bias;
        columnStep[k] = e.a * kSubsamples;
    }
    const bool narrow = right - left < raster::kNarrowBox;
    CoveredSample sample;
    sample.area = area * orientation;
    for (int64_t row = top; row <= bottom; ++row) {
        const auto [first, last] = narrow ? std::array<int64_t, 2>{0, right - left}
                                          : raster::coveredSteps(rowStart, columnStep, right - left);
        std::array<int64_t, 3> value{rowStart[0] + columnStep[0] * first, rowStart[1] + columnStep[1] * first,
                                     rowStart[2] + columnStep[2] * first};
        for (int64_t column = left + first; column <= left + last; ++column) {
            if ((value[0] | value[1] | value[2]) >= 0) {
                sample.column = static_cast<uint32_t>(column);
                sample.row = static_cast<uint32_t>(row);
                sample.edge = {value[0] + edges[0].bias, value[1] + edges[1].bias, value[2] + edges[2].bias};
                visit(sample);
            }
            for (size_t k = 0; k < 3; ++k) {
                value[k] += columnStep[k];
            }
        }
        for (size_t k = 0; k < 3; ++k) {
            rowStart[k] += edges[k].b * kSubsamples;
        }
    }
}

}  // namespace zelvane::picture
