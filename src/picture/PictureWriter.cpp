#include "PictureWriter.h"

#include <vector>

#include "Picture.h"
#include "image/ImageCodec.h"

namespace zelvane {
namespace {

// Per store texture number: the pixels of its image, where it has some.
std::vector<const Image*> imagesOfTextures(const TextureFiles& textures) {
    std::vector<const Image*> images(textures.fileOfTexture.size(), nullptr);
    for (uint32_t texture = 0; texture < images.size(); ++texture) {
        const TextureFile* file = textures.fileFor(texture);
        if (file != nullptr && file->decoded.width > 0) {
            images[texture] = &file->decoded;
        }
    }
    return images;
}

}  // namespace

bool writePicture(OutputSet& outputs, const ModelOutput& model, const std::string& path, uint32_t size,
                  unsigned threads) {
    const Image picture = renderPicture(model.store, imagesOfTextures(model.textures), size, threads);
    const std::vector<uint8_t> png = encodePng(picture, PngEffort::kQuick);
    OutputFile* file = outputs.create(path, FileMode::kBinary);
    if (file == nullptr) {
        return false;
    }
    file->write({reinterpret_cast<const char*>(png.data()), png.size()});
    return outputs.close(*file);
}

}  // namespace zelvane
