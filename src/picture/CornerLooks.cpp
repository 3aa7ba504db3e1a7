#include "CornerLooks.h"

#include <algorithm>
#include <cmath>

namespace zelvane::picture {

namespace {

// A direction in model coordinates turned into camera coordinates.
Direction inCamera(const Direction& d) {
    return {dotProduct(kCameraRight, d), dotProduct(kCameraUp, d), dotProduct(kCameraBack, d)};
}

Direction difference(const Direction& a, const Direction& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Direction crossProduct(const Direction& a, const Direction& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A position in camera coordinates with z towards the eye, so that cross
// products keep their hand.
Direction placeOf(const MeshStore& store, const ModelFrame& frame, uint32_t position) {
    const CameraPoint point = frame.cameraPointOf(store.positions[position]);
    return {point.x, point.y, -point.depth};
}

Direction polygonNormal(const MeshStore& store, const ModelFrame& frame, const Polygon& polygon) {
    std::array<Direction, 4> place;
    for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
        place[corner] = placeOf(store, frame, polygon.vertex[corner]);
    }
    const Direction normal = polygon.cornerCount == 4
                                 ? crossProduct(difference(place[2], place[0]), difference(place[3], place[1]))
                                 : crossProduct(difference(place[1], place[0]), difference(place[2], place[0]));
    return unitDirection(normal).value_or(inCamera({0.0, 0.0, 1.0}));
}

double finiteOrZero(double value) {
    return std::isfinite(value) ? value : 0.0;
}

}  // namespace

std::optional<Direction> unitDirection(const Direction& v) {
    const double largest = std::max({std::abs(v.x), std::abs(v.y), std::abs(v.z)});
    if (!(largest > 0.0) || !std::isfinite(largest)) {
        return std::nullopt;  // zero, or a component that is infinite or NaN
    }
    const Direction scaled{v.x / largest, v.y / largest, v.z / largest};
    const double inverseLength = 1.0 / std::sqrt(dotProduct(scaled, scaled));
    return Direction{scaled.x * inverseLength, scaled.y * inverseLength, scaled.z * inverseLength};
}

PolygonLooks looksOfPolygon(const MeshStore& store, const ModelFrame& frame, const Polygon& polygon, bool mapped) {
    PolygonLooks looks;
    std::optional<Direction> ownNormal;
    for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
        CornerLook& look = looks[corner];
        if (corner > 0 && polygon.normal[corner] == polygon.normal[corner - 1]) {
            look.normal = looks[corner - 1].normal;  // a flat-shaded polygon's corners share one
        } else {
            const Vector3 normal = store.normals[polygon.normal[corner]];
            const std::optional<Direction> unit = unitDirection({normal.x, normal.y, normal.z});
            if (!unit && !ownNormal) {
                ownNormal = polygonNormal(store, frame, polygon);
            }
            look.normal = unit ? inCamera(*unit) : *ownNormal;
        }
        if (mapped) {
            const Vector3 texcoord = store.texcoords[polygon.texcoord[corner]];
            look.u = finiteOrZero(texcoord.x);
            look.v = finiteOrZero(1.0 - texcoord.y);
        }
    }
    return looks;
}

}  // namespace zelvane::picture
