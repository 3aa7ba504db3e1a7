// Adding the faces of formats that allow any number of corners and keep
// normals apart from positions.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "ModelRead.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// One corner of a face: a store position, its normal when the file gives
// one, and its texture coordinate in the store's convention (v counted from
// the image's bottom).
struct FaceCorner {
    uint32_t position = 0;
    std::optional<Vector3> normal;
    double u = 0.0;
    double v = 0.0;
};

// Adds a face to the store: a triangle or a quad as it is, a face of more
// corners as the fan of triangles (0, k, k + 1). A corner without a normal
// takes the face's own (unit length, from all its corners; zero for a face
// without area). A face of fewer than three corners is left out. Counts
// what it added, or left out, in read.
void addFace(MeshStore& store, const Material& material, std::span<const FaceCorner> corners, ModelRead& read);

}  // namespace zelvane
