#include "GltfVertex.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zelvane {
namespace {

Vector3 difference(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 crossProduct(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The largest component's magnitude; NaN when a component is NaN.
double largestMagnitude(const Vector3& v) {
    if (std::isnan(v.x) || std::isnan(v.y) || std::isnan(v.z)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return std::max({std::abs(v.x), std::abs(v.y), std::abs(v.z)});
}

// A vector with a direction at unit length, scaled first so that neither
// tiny nor huge components overflow or vanish in the squares.
std::array<float, 3> unitFloats(const Vector3& v) {
    const double scale = largestMagnitude(v);
    const Vector3 scaled{v.x / scale, v.y / scale, v.z / scale};
    const double length = std::sqrt(scaled.x * scaled.x + scaled.y * scaled.y + scaled.z * scaled.z);
    return {static_cast<float>(scaled.x / length), static_cast<float>(scaled.y / length),
            static_cast<float>(scaled.z / length)};
}

std::array<float, 3> polygonNormal(const MeshStore& store, const Polygon& polygon) {
    const Vector3 p0 = store.positions[polygon.vertex[0]];
    const Vector3 p1 = store.positions[polygon.vertex[1]];
    const Vector3 p2 = store.positions[polygon.vertex[2]];
    const Vector3 normal = polygon.cornerCount == 4
                               ? crossProduct(difference(p2, p0), difference(store.positions[polygon.vertex[3]], p1))
                               : crossProduct(difference(p1, p0), difference(p2, p0));
    return hasDirection(normal) ? unitFloats(normal) : std::array<float, 3>{0.0f, 0.0f, 1.0f};
}

float finiteFloat(double value) {
    const auto single = static_cast<float>(value);
    return std::isfinite(single) ? single : 0.0f;
}

}  // namespace

bool hasDirection(const Vector3& normal) {
    const double scale = largestMagnitude(normal);
    return scale > 0.0 && std::isfinite(scale);
}

std::array<float, 3> PolygonVertices::normalOf(uint32_t corner) {
    const uint32_t index = polygon_.normal[corner];
    if (index != lastNormal_) {
        const Vector3 normal = store_.normals[index];
        lastUnitNormal_ = hasDirection(normal) ? unitFloats(normal) : polygonNormal(store_, polygon_);
        lastNormal_ = index;
    }
    return lastUnitNormal_;
}

GltfVertex PolygonVertices::vertexOf(uint32_t corner) {
    GltfVertex vertex;
    const Vector3 position = store_.positions[polygon_.vertex[corner]];
    vertex.position = {static_cast<float>(position.x), static_cast<float>(position.y),
                       static_cast<float>(position.z)};
    vertex.normal = normalOf(corner);
    if (mapped_) {
        // The store keeps v counted from the image's bottom, as OBJ has it.
        const Vector3 texcoord = store_.texcoords[polygon_.texcoord[corner]];
        vertex.texcoord = {finiteFloat(texcoord.x), finiteFloat(1.0 - texcoord.y)};
    }
    return vertex;
}

}  // namespace zelvane
