// Which samples a triangle covers, the strip of samples they are drawn in,
// and cutting triangles at the near plane.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "picture/NearClip.h"
#include "picture/SampleStrip.h"
#include "picture/TriangleRaster.h"
#include "picture/ViewConstants.h"

namespace zelvane::picture {
namespace {

// How many times each sample of a band is covered.
class CoverCount {
public:
    explicit CoverCount(const SampleRows& rows) : rows_(rows), counts_(size_t{rows.columns} * rows.end) {}

    void draw(const std::array<ScreenPoint, 3>& corners) {
        visitCoveredSamples(corners, rows_, [&](const CoveredSample& sample) {
            ASSERT_TRUE(sample.row >= rows_.first && sample.row < rows_.end && sample.column < rows_.columns);
            ++counts_[size_t{sample.row} * rows_.columns + sample.column];
            EXPECT_TRUE(sample.edge[0] >= 0 && sample.edge[1] >= 0 && sample.edge[2] >= 0);
            EXPECT_EQ(sample.edge[0] + sample.edge[1] + sample.edge[2], sample.area);
        });
    }
    int at(uint32_t column, uint32_t row) const { return counts_[size_t{row} * rows_.columns + column]; }

private:
    SampleRows rows_;
    std::vector<int> counts_;
};

ScreenPoint centreOf(int32_t column, int32_t row) {
    return {column * 256 + 128, row * 256 + 128};
}

// Rectangles with corners on sample centres, narrow and wide, each cut along
// a diagonal into triangles wound either way: every sample of the grid is
// covered once, on its left and top edges too, on its right and bottom edges
// not.
TEST(TriangleRaster, CoversEachSampleOnceAcrossSharedEdges) {
    std::mt19937 random(7);
    for (const auto& [width, height] : {std::pair{5, 6}, {12, 9}}) {
        CoverCount count({80, 0, 80});
        const int32_t end = 3 + 5 * width;
        for (int32_t row = 5; row < 5 + 5 * height; row += height) {
            for (int32_t column = 3; column < end; column += width) {
                const ScreenPoint a = centreOf(column, row);
                const ScreenPoint b = centreOf(column + width, row);
                const ScreenPoint c = centreOf(column + width, row + height);
                const ScreenPoint d = centreOf(column, row + height);
                const bool flip = random() % 2 == 0;
                count.draw(flip ? std::array{a, b, c} : std::array{c, b, a});
                count.draw(flip ? std::array{a, c, d} : std::array{d, a, c});
            }
        }
        for (uint32_t sample = 0; sample < 80 * 80; ++sample) {
            const uint32_t row = sample / 80;
            const uint32_t column = sample % 80;
            const bool inside = row >= 5 && row < 5 + 5u * height && column >= 3 && column < uint32_t(end);
            EXPECT_EQ(count.at(column, row), inside) << width << " x " << height << ": " << column << ", " << row;
        }
    }
}

// A convex polygon of many samples cut into a fan from one corner covers the
// very samples the fan from another corner does, each once: wherever a row's
// scan starts and ends, the edges decide alone.
TEST(TriangleRaster, FansOfOnePolygonCoverTheSameSamples) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> turn(0.0, 1.0);
    for (int polygon = 0; polygon < 20; ++polygon) {
        std::vector<double> angles(3 + polygon % 7);
        for (double& angle : angles) angle = 6.283185307179586 * turn(random);
        std::sort(angles.begin(), angles.end());
        const double radius = 256.0 * (2 + polygon);
        std::vector<ScreenPoint> corners;
        for (const double angle : angles) {
            corners.push_back({static_cast<int32_t>(12000 + radius * std::cos(angle)),
                               static_cast<int32_t>(12000 + radius * std::sin(angle))});
        }
        CoverCount fromFirst({96, 0, 96});
        CoverCount fromLast({96, 0, 96});
        const size_t n = corners.size();
        for (size_t k = 1; k + 1 < n; ++k) {
            fromFirst.draw({corners[0], corners[k], corners[k + 1]});
            fromLast.draw({corners[n - 1], corners[(n - 1 + k) % n], corners[(n + k) % n]});
        }
        int covered = 0;
        for (uint32_t sample = 0; sample < 96 * 96; ++sample) {
            const int once = fromFirst.at(sample % 96, sample / 96);
            ASSERT_LE(once, 1);
            EXPECT_EQ(fromLast.at(sample % 96, sample / 96), once) << polygon << ": " << sample % 96 << ", " << sample / 96;
            covered += once;
        }
        EXPECT_GT(covered, 0);
    }
}

// Nothing between sample centres or without area; a band's own rows alone,
// all of them under a triangle reaching to the guard band.
TEST(TriangleRaster, CoversTheBandsSampleCentresInside) {
    CoverCount count({10, 0, 10});
    count.draw({ScreenPoint{300, 300}, ScreenPoint{360, 310}, ScreenPoint{320, 370}});
    count.draw({centreOf(1, 1), centreOf(5, 5), centreOf(8, 8)});
    count.draw({centreOf(2, 2), centreOf(2, 2), centreOf(7, 3)});
    for (uint32_t sample = 0; sample < 100; ++sample) {
        EXPECT_EQ(count.at(sample % 10, sample / 10), 0);
    }
    const int32_t far = 1 << 24;
    CoverCount band({16, 4, 9});
    band.draw({ScreenPoint{-far, -far}, ScreenPoint{far, -far}, ScreenPoint{0, far}});
    for (uint32_t sample = 0; sample < 16 * 9; ++sample) {
        EXPECT_EQ(band.at(sample % 16, sample / 16), sample >= 16 * 4);
    }
}

ClipCorner cornerAt(double x, double y, double depth, double u) {
    return {{x, y, depth}, {{0.0, 0.0, 1.0}, u, 2 * u}};
}

// A strip 4 pixels wide and 3 tall (8 x 6 samples). Samples drawn at the
// corners of a box whose edges cut pixels in two make exactly those pixels;
// the strip started again over other rows, drawn in a row higher, shows
// nothing of them.
TEST(SampleStrip, ResolvesAndClearsTheBoxDrawnIn) {
    SampleStrip strip(4, 3);
    for (const auto& [first, end, top] : {std::tuple{0u, 3u, 1u}, std::tuple{5u, 8u, 10u}}) {
        strip.startRows(first, end);
        const std::array<std::array<uint32_t, 2>, 3> drawn{{{1, top}, {6, top + 2}, {3, top + 4}}};
        strip.willDraw(std::array<int64_t, 4>{1, 6, top, top + 4});
        for (const auto& [column, row] : drawn) {
            ASSERT_TRUE(strip.takeNearer(column, row, 1.0f));
            strip.setColour(column, row, {200, 100, 40, 255});
        }
        std::vector<uint8_t> pixels(4 * 3 * 4, 7);
        strip.resolveRows(pixels.data());
        std::vector<uint8_t> expected(pixels.size(), 0);
        for (const auto& [column, row] : drawn) {
            const size_t pixel = 4 * ((row - 2 * first) / 2 * 4 + column / 2);
            expected[pixel] = 200;
            expected[pixel + 1] = 100;
            expected[pixel + 2] = 40;
            expected[pixel + 3] = 64;
        }
        EXPECT_EQ(pixels, expected) << first;
    }
}

TEST(NearClip, KeepsWhatLiesBeyondThePlane) {
    const std::array<ClipCorner, 3> beyond{cornerAt(0, 0, 3, 0), cornerAt(1, 0, kNearDistance, 1), cornerAt(0, 1, 4, 2)};
    const ClippedPolygon whole = clipToNearPlane(beyond);
    ASSERT_EQ(whole.cornerCount, 3u);
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(whole.corners[k].point.depth, beyond[k].point.depth);
    }
    EXPECT_EQ(clipToNearPlane({cornerAt(0, 0, 1, 0), cornerAt(1, 0, -3, 1), cornerAt(0, 1, 1.99, 2)}).cornerCount, 0u);
}

// One corner behind the eye leaves a quad, two a triangle; the new corners
// lie on the plane where the edges cross it, their looks interpolated.
TEST(NearClip, CutsTheEdgesCrossingThePlane) {
    const ClippedPolygon quad = clipToNearPlane({cornerAt(0, 0, 4, 0), cornerAt(2, 0, -4, 1), cornerAt(0, 2, 4, 0.5)});
    ASSERT_EQ(quad.cornerCount, 4u);
    EXPECT_DOUBLE_EQ(quad.corners[1].point.x, 0.5);  // a quarter of the way from depth 4 to -4
    EXPECT_DOUBLE_EQ(quad.corners[1].look.u, 0.25);
    EXPECT_DOUBLE_EQ(quad.corners[1].look.v, 0.5);
    EXPECT_DOUBLE_EQ(quad.corners[2].point.x, 0.5);  // three quarters of the way from -4 to 4
    EXPECT_DOUBLE_EQ(quad.corners[2].point.y, 1.5);
    EXPECT_DOUBLE_EQ(quad.corners[2].look.u, 0.625);
    EXPECT_EQ(quad.corners[3].point.y, 2.0);
    const ClippedPolygon tip = clipToNearPlane({cornerAt(0, 0, 1, 0), cornerAt(4, 0, 6, 1), cornerAt(0, 4, 0, 0)});
    ASSERT_EQ(tip.cornerCount, 3u);
    EXPECT_DOUBLE_EQ(tip.corners[0].point.x, 0.8);  // a fifth of the way from depth 1 to 6
    for (const ClippedPolygon& clipped : {quad, tip}) {
        for (uint32_t k = 0; k < clipped.cornerCount; ++k) {
            EXPECT_GE(clipped.corners[k].point.depth, kNearDistance);
        }
    }
}

// A large triangle through the eye's plane, clipped, projected and drawn as
// a fan, lands within the guard band and covers the picture's middle once.
TEST(NearClip, LetsATriangleThroughTheEyesPlaneBeDrawn) {
    const ScreenMapping mapping(64);
    const ClippedPolygon clipped =
        clipToNearPlane({cornerAt(-50, -30, 20, 0), cornerAt(50, -30, 20, 0), cornerAt(0, 40, -10, 0)});
    ASSERT_EQ(clipped.cornerCount, 4u);
    CoverCount count({64, 0, 64});
    for (uint32_t k = 1; k + 1 < clipped.cornerCount; ++k) {
        count.draw({mapping.screenPointOf(clipped.corners[0].point), mapping.screenPointOf(clipped.corners[k].point),
                    mapping.screenPointOf(clipped.corners[k + 1].point)});
    }
    EXPECT_EQ(count.at(32, 32), 1);
    for (uint32_t sample = 0; sample < 64 * 64; ++sample) {
        ASSERT_LE(count.at(sample % 64, sample / 64), 1);
    }
}

}  // namespace
}  // namespace zelvane::picture
