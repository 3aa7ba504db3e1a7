#pragma once

#include <cstdint>
#include <vector>

#include "TextureFiles.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// The images a glTF output holds, each with the one texture that shows it:
// the image files of the textured groups, each once, in the order the
// groups first use them.
struct GltfImages {
    static constexpr uint32_t kNone = UINT32_MAX;

    std::vector<const TextureFile*> files;
    std::vector<uint32_t> imageOfGroup;  // per group, in map order: its image, or kNone

    // Per group: whether it shows an image, and so needs texture coordinates.
    std::vector<bool> mappedGroups() const {
        std::vector<bool> mapped;
        for (const uint32_t image : imageOfGroup) {
            mapped.push_back(image != kNone);
        }
        return mapped;
    }
};

GltfImages collectGltfImages(const MeshStore& store, const TextureFiles& textures);

}  // namespace zelvane
