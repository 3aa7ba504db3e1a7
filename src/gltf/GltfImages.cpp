#include "GltfImages.h"

#include <unordered_map>

namespace zelvane {

std::vector<bool> groupsShowingImages(const MeshStore& store, const TextureFiles& textures) {
    std::vector<bool> mapped;
    for (const auto& group : store.groups) {
        mapped.push_back(group.first.textured() && textures.fileFor(group.first.texture) != nullptr);
    }
    return mapped;
}

GltfImages collectGltfImages(const GltfMesh& mesh, const TextureFiles& textures) {
    GltfImages images;
    std::unordered_map<const TextureFile*, uint32_t> numbers;
    for (const GltfMesh::Primitive& primitive : mesh.primitives) {
        if (!primitive.mapped) {
            images.imageOfPrimitive.push_back(GltfImages::kNone);
            continue;
        }
        const TextureFile* file = textures.fileFor(primitive.group->first.texture);
        const auto [entry, added] = numbers.try_emplace(file, static_cast<uint32_t>(images.files.size()));
        if (added) {
            images.files.push_back(file);
        }
        images.imageOfPrimitive.push_back(entry->second);
    }
    return images;
}

}  // namespace zelvane
