#include "PictureWriter.h"

#include <vector>

#include "Picture.h"
#include "image/RgbaPngStream.h"

namespace zelvane {
namespace {

// Per store texture number: the pixels of its image, where it has some.
std::vector<const Image*> imagesOfTextures(const TextureFiles& textures) {
    std::vector<const Image*> images(textures.fileOfTexture.size(), nullptr);
    for (uint32_t texture = 0; texture < images.size(); ++texture) {
        const TextureFile* file = textures.fileFor(texture);
        if (file != nullptr && file->decoded().width > 0) {
            images[texture] = &file->decoded();
        }
    }
    return images;
}

}  // namespace

bool writePicture(OutputSet& outputs, const ModelOutput& model, const std::string& path, uint32_t size,
                  unsigned threads) {
    image::RgbaPngStream stream(size, size);
    drawPicture(model.store, imagesOfTextures(model.textures), size, threads,
                [&](std::span<const uint8_t> pixels) { stream.addRows(pixels); });
    const std::vector<uint8_t> png = stream.finish();
    OutputFile* file = outputs.create(path, FileMode::kBinary);
    if (file == nullptr) {
        return false;
    }
    file->write({reinterpret_cast<const char*>(png.data()), png.size()});
    return outputs.close(*file);
}

}  // namespace zelvane
