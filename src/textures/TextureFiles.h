#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/Image.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// An image ready for the outputs: a texture converted to PNG, or a PNG or
// JPEG taken as it is. Made once per run for each source file, and shared
// by every model of the run that shows it (see TextureCache).
struct ImageContent {
    std::string mimeType;  // "image/png" or "image/jpeg"
    std::vector<uint8_t> bytes;
    // Its pixels, for drawing, when they were asked for and could be had
    // (a JPEG image is not decoded); 0 x 0 otherwise.
    Image decoded;
};

// An image that a model's outputs reference, under the name it has beside
// them.
struct TextureFile {
    std::string fileName;  // a bare file name, beside the outputs that name it
    std::shared_ptr<const ImageContent> content;  // never null
    bool inPlace = false;  // the source itself is where the outputs name it: nothing to write

    const std::string& mimeType() const { return content->mimeType; }
    const std::vector<uint8_t>& bytes() const { return content->bytes; }
    const Image& decoded() const { return content->decoded; }
};

// The images of a model's textures. Several texture names may lead to one
// image (two spellings of one file), so the textures refer to the images.
struct TextureFiles {
    static constexpr uint32_t kNoFile = UINT32_MAX;

    std::vector<TextureFile> files;
    std::vector<uint32_t> fileOfTexture;  // per store texture number: index in files, or kNoFile

    const TextureFile* fileFor(uint32_t texture) const {
        return texture < fileOfTexture.size() && fileOfTexture[texture] != kNoFile ? &files[fileOfTexture[texture]]
                                                                                   : nullptr;
    }
};

// The image a texture's material names: its file when it has one, else the
// name the model gives; nullptr for a texture number the store has no name for.
inline const std::string* imageReference(const MeshStore& store, const TextureFiles& textures, uint32_t texture) {
    const TextureFile* file = textures.fileFor(texture);
    return file != nullptr ? &file->fileName : store.textureName(texture);
}

}  // namespace zelvane
