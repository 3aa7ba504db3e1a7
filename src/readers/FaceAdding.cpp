#include "FaceAdding.h"

#include <array>
#include <cmath>

namespace zelvane {
namespace {

// The face's normal by Newell's method, which takes every corner into
// account and so suits faces that are not quite flat.
Vector3 faceNormal(const MeshStore& store, std::span<const FaceCorner> corners) {
    Vector3 sum;
    for (size_t k = 0; k < corners.size(); ++k) {
        const Vector3 a = store.positions[corners[k].position];
        const Vector3 b = store.positions[corners[(k + 1) % corners.size()].position];
        sum.x += (a.y - b.y) * (a.z + b.z);
        sum.y += (a.z - b.z) * (a.x + b.x);
        sum.z += (a.x - b.x) * (a.y + b.y);
    }
    const double length = std::sqrt(sum.x * sum.x + sum.y * sum.y + sum.z * sum.z);
    if (!(length > 0.0) || !std::isfinite(length)) {
        return {};
    }
    return {sum.x / length, sum.y / length, sum.z / length};
}

template <size_t N>
void addPolygon(MeshStore& store, const Material& material, const std::array<const FaceCorner*, N>& corners,
                const std::optional<Vector3>& ownNormal) {
    std::array<uint32_t, N> vertex{};
    std::array<double, N> u{};
    std::array<double, N> v{};
    std::array<Vector3, N> normal{};
    for (size_t k = 0; k < N; ++k) {
        vertex[k] = corners[k]->position;
        u[k] = corners[k]->u;
        v[k] = corners[k]->v;
        normal[k] = corners[k]->normal.value_or(ownNormal.value_or(Vector3{}));
    }
    if constexpr (N == 3) {
        store.addTriangle(vertex, material, u, v, &normal);
    } else {
        store.addQuad(vertex, material, u, v, &normal);
    }
}

}  // namespace

void addFace(MeshStore& store, const Material& material, std::span<const FaceCorner> corners, ModelRead& read) {
    ++read.faces;
    if (corners.size() < 3) {
        ++read.leftOut;
        return;
    }
    std::optional<Vector3> ownNormal;
    for (const FaceCorner& corner : corners) {
        if (!corner.normal) {
            ownNormal = faceNormal(store, corners);
            break;
        }
    }
    if (corners.size() == 4) {
        addPolygon<4>(store, material, {&corners[0], &corners[1], &corners[2], &corners[3]}, ownNormal);
        ++read.quads;
        return;
    }
    for (size_t k = 1; k + 1 < corners.size(); ++k) {
        addPolygon<3>(store, material, {&corners[0], &corners[k], &corners[k + 1]}, ownNormal);
        ++read.triangles;
    }
}

}  // namespace zelvane
