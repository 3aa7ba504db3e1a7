#include "StripPainter.h"

#include <algorithm>
#include <optional>

#include "NearClip.h"
#include "ProjectedPositions.h"
#include "SurfaceShading.h"
#include "TriangleRaster.h"

namespace zelvane::picture {

namespace {

// A triangle's corners among its polygon's: a quad is drawn as 0 1 2 and 0 2 3.
using TriangleCorners = std::array<uint32_t, 3>;
constexpr std::array<TriangleCorners, 2> kTrianglesOfQuad{{{0, 1, 2}, {0, 2, 3}}};

// How far ahead in a group the polygons are fetched into the cache.
constexpr size_t kPrefetchDistance = 16;

// What a triangle shows besides its place on the screen: the inverse depth
// of each corner, which is linear in screen coordinates across the triangle,
// and the corners' looks.
struct TriangleDetails {
    std::array<double, 3> inverseDepth{};
    TriangleLooks looks{};
};

class StripPainter {
public:
    StripPainter(const PictureScene& scene, SampleStrip& strip) : scene_(scene), strip_(strip) {}

    // The polygon of the store's index: most polygons of a large model lie
    // between the sample centres, which their vertices alone tell.
    void paintPolygon(uint32_t index, const GroupPaint& paint) {
        const PolygonList& polygons = scene_.store.polygons;
        const uint32_t cornerCount = polygons.cornerCount(index);
        const std::array<uint32_t, 4>& vertices = polygons.vertices(index);
        bool projected = true;
        for (uint32_t corner = 0; corner < cornerCount; ++corner) {
            points_[corner] = scene_.screenPoints[vertices[corner]];
            projected = projected && points_[corner].x > kBeforeNearPlane;
        }
        if (projected && !boxHoldsSamples(points_.data(), cornerCount, strip_.rows())) {
            return;
        }
        const Polygon polygon = polygons[index];
        polygon_ = &polygon;
        mapped_ = paint.image != nullptr;
        looksMade_ = false;
        for (uint32_t triangle = 0; triangle + 2 < polygon.cornerCount; ++triangle) {
            paintTriangle(kTrianglesOfQuad[triangle], paint);
        }
    }

private:
    const PolygonLooks& polygonLooks() {
        if (!looksMade_) {
            looks_ = looksOfPolygon(scene_.store, scene_.frame, *polygon_, mapped_);
            looksMade_ = true;
        }
        return looks_;
    }

    CameraPoint cameraPointOf(uint32_t corner) const {
        return scene_.frame.cameraPointOf(scene_.store.positions[polygon_->vertex[corner]]);
    }

    void paintTriangle(const TriangleCorners& corners, const GroupPaint& paint) {
        std::array<ScreenPoint, 3> points;
        bool beforeNearPlane = false;
        for (size_t k = 0; k < 3; ++k) {
            points[k] = points_[corners[k]];
            if (points[k].x == kNotFinite) {
                return;
            }
            beforeNearPlane = beforeNearPlane || points[k].x == kBeforeNearPlane;
        }
        if (beforeNearPlane) {
            paintClipped(corners, paint);
            return;
        }
        fillTriangle(points, paint, [&] {
            const PolygonLooks& all = polygonLooks();
            return TriangleDetails{{1.0 / cameraPointOf(corners[0]).depth, 1.0 / cameraPointOf(corners[1]).depth,
                                    1.0 / cameraPointOf(corners[2]).depth},
                                   {&all[corners[0]], &all[corners[1]], &all[corners[2]]}};
        });
    }

    // The fan of the triangle's part beyond the near plane.
    void paintClipped(const TriangleCorners& corners, const GroupPaint& paint) {
        std::array<ClipCorner, 3> triangle;
        for (size_t k = 0; k < 3; ++k) {
            triangle[k] = {cameraPointOf(corners[k]), polygonLooks()[corners[k]]};
        }
        const ClippedPolygon clipped = clipToNearPlane(triangle);
        for (uint32_t k = 1; k + 1 < clipped.cornerCount; ++k) {
            const std::array<const ClipCorner*, 3> fan{&clipped.corners[0], &clipped.corners[k],
                                                       &clipped.corners[k + 1]};
            const std::array<ScreenPoint, 3> points{scene_.mapping.screenPointOf(fan[0]->point),
                                                    scene_.mapping.screenPointOf(fan[1]->point),
                                                    scene_.mapping.screenPointOf(fan[2]->point)};
            const TriangleDetails details{
                {1.0 / fan[0]->point.depth, 1.0 / fan[1]->point.depth, 1.0 / fan[2]->point.depth},
                {&fan[0]->look, &fan[1]->look, &fan[2]->look}};
            fillTriangle(points, paint, [&] { return details; });
        }
    }

    // Each covered sample where the triangle is nearer than what it shows
    // takes the triangle's colour there. Depth and the corners' weights are
    // interpolated perspective-correctly: the inverse depth is linear on the
    // screen, and so is each corner's weight over its depth. The details
    // are made at the first covered sample: most triangles of a large model
    // cover none.
    template <typename DetailsSource>
    void fillTriangle(const std::array<ScreenPoint, 3>& points, const GroupPaint& paint, DetailsSource&& detailsOf) {
        std::optional<TriangleDetails> details;
        std::optional<TriangleShader> shader;
        visitCoveredSamples(points, strip_.rows(), [&](const CoveredSample& sample) {
            if (!details) {
                details = detailsOf();
                shader.emplace(paint, details->looks);
                strip_.willDraw(raster::samplesInBox(points.data(), points.size(), strip_.rows()));
            }
            const std::array<double, 3> share{static_cast<double>(sample.edge[0]) * details->inverseDepth[0],
                                              static_cast<double>(sample.edge[1]) * details->inverseDepth[1],
                                              static_cast<double>(sample.edge[2]) * details->inverseDepth[2]};
            const double sum = share[0] + share[1] + share[2];
            if (!strip_.takeNearer(sample.column, sample.row,
                                   static_cast<float>(sum / static_cast<double>(sample.area)))) {
                return;
            }
            const double inverseSum = 1.0 / sum;
            const std::array<double, 3> weights{share[0] * inverseSum, share[1] * inverseSum, share[2] * inverseSum};
            strip_.setColour(sample.column, sample.row,
                             shader->shade(weights, scene_.mapping.towardsEye(sample.column, sample.row)));
        });
    }

    const PictureScene& scene_;
    SampleStrip& strip_;
    std::array<ScreenPoint, 4> points_;  // of the polygon's corners
    const Polygon* polygon_ = nullptr;
    bool mapped_ = false;
    bool looksMade_ = false;
    PolygonLooks looks_;
};

}  // namespace

void paintStrip(const PictureScene& scene, SampleStrip& strip, const PolygonShare& share) {
    StripPainter painter(scene, strip);
    size_t group = 0;
    size_t groupStart = 0;  // the place of the group's first polygon in the order of all groups
    for (const auto& [material, polygons] : scene.store.groups) {
        if (groupStart >= share.end) {
            break;
        }
        const size_t first = std::max(share.first, groupStart) - groupStart;
        const size_t end = std::min(share.end - groupStart, polygons.size());
        for (size_t k = first; k < end; ++k) {
            if (k + kPrefetchDistance < end) {
                scene.store.polygons.prefetch(polygons[k + kPrefetchDistance]);
            }
            painter.paintPolygon(polygons[k], scene.paints[group]);
        }
        groupStart += polygons.size();
        ++group;
    }
}

}  // namespace zelvane::picture
