#include "LoadedModel.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

#include "image/ImageCodec.h"
#include "mag5/Mag5Loader.h"

namespace zelvane::tools {

namespace {

std::optional<Image> decodeImageFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return decodeImage(bytes, detectImageFormat(bytes, path)).image;
}

}  // namespace

std::unique_ptr<LoadedModel> loadModel(const std::string& path, const std::string& textureFolder) {
    auto model = std::make_unique<LoadedModel>();
    const LoadResult result = loadMagFile(path, model->store);
    if (result.error) {
        throw std::runtime_error(path + ": " + result.error.words);
    }
    model->store.mergeDuplicates();
    model->store.groupByMaterial();
    const std::vector<std::string>& names = model->store.textures;
    std::vector<std::optional<Image>> decoded(names.size());
    for (size_t texture = 1; texture < names.size(); ++texture) {
        decoded[texture] = decodeImageFile(textureFolder + "/" + names[texture]);
    }
    model->images.reserve(names.size());  // the pointers below stay valid
    model->imageOfTexture.assign(names.size(), nullptr);
    for (size_t texture = 1; texture < names.size(); ++texture) {
        if (decoded[texture]) {
            model->imageOfTexture[texture] = &model->images.emplace_back(std::move(*decoded[texture]));
        }
    }
    return model;
}

}  // namespace zelvane::tools
