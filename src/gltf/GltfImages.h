#pragma once

#include <cstdint>
#include <vector>

#include "GltfMesh.h"
#include "textures/TextureFiles.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// Per group, in map order: whether its material shows an image, which it
// does when it is textured and its texture's image was found.
std::vector<bool> groupsShowingImages(const MeshStore& store, const TextureFiles& textures);

// The images a glTF output holds, each with the one texture that shows it:
// the image files of the mapped primitives, each once, in the order the
// primitives first use them.
struct GltfImages {
    static constexpr uint32_t kNone = UINT32_MAX;

    std::vector<const TextureFile*> files;
    std::vector<uint32_t> imageOfPrimitive;  // per primitive: its image, or kNone
};

GltfImages collectGltfImages(const GltfMesh& mesh, const TextureFiles& textures);

}  // namespace zelvane
