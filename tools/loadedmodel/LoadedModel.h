// A MAG5 model loaded as the converter loads it, with its textures' images
// decoded from one folder: what the picture tools and tests draw.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "image/Image.h"
#include "mesh/MeshStore.h"

namespace zelvane::tools {

struct LoadedModel {
    MeshStore store;  // merged and grouped
    std::vector<Image> images;
    std::vector<const Image*> imageOfTexture;  // per store texture number
};

// The model at path; each texture's image is looked for as
// textureFolder/<name> and left out when it is missing or cannot be
// decoded. Throws std::runtime_error when the model cannot be loaded.
std::unique_ptr<LoadedModel> loadModel(const std::string& path, const std::string& textureFolder);

}  // namespace zelvane::tools
