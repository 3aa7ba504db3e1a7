#include "GltfImages.h"

#include <unordered_map>

namespace zelvane {

GltfImages collectGltfImages(const MeshStore& store, const TextureFiles& textures) {
    GltfImages images;
    std::unordered_map<const TextureFile*, uint32_t> numbers;
    for (const auto& group : store.groups) {
        const TextureFile* file = group.first.textured() ? textures.fileFor(group.first.texture) : nullptr;
        if (file == nullptr) {
            images.imageOfGroup.push_back(GltfImages::kNone);
            continue;
        }
        const auto [entry, added] = numbers.try_emplace(file, static_cast<uint32_t>(images.files.size()));
        if (added) {
            images.files.push_back(file);
        }
        images.imageOfGroup.push_back(entry->second);
    }
    return images;
}

}  // namespace zelvane
