// The triangles of glTF primitives, added to the store.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FaceAdding.h"
#include "GltfNodes.h"
#include "ModelRead.h"
#include "TinyGltf.h"

namespace zelvane {

class PrimitiveAdder {
public:
    // cornerBudget bounds the positions and corners all primitives may add
    // together: a mesh placed by many nodes is added once for each, and a
    // small file must not make a huge model that way.
    PrimitiveAdder(const tinygltf::Model& model, const std::vector<Material>& materials, MeshStore& store,
                   ModelRead& read, uint64_t cornerBudget)
        : model_(model), materials_(materials), store_(store), read_(read), budget_(cornerBudget) {}

    // Adds every primitive of the mesh where the placement puts it; an error
    // in plain words when a primitive cannot be read.
    std::string addMesh(int mesh, const Placement& placement);

private:
    std::string addPrimitive(const tinygltf::Primitive& primitive, const Placement& placement);
    std::string spend(uint64_t corners);

    const tinygltf::Model& model_;
    const std::vector<Material>& materials_;
    MeshStore& store_;
    ModelRead& read_;
    uint64_t budget_;
};

}  // namespace zelvane
