#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelvane {

// Where the image of a texture is when its name alone does not lead to it,
// as in model formats that hold their images or name them apart from their
// materials: bytes the model file holds, or another name to look up in the
// model's folder.
struct TextureSource {
    std::string lookupName;                             // looked up instead of the texture's name when not empty
    std::shared_ptr<const std::vector<uint8_t>> bytes;  // the image itself, when the model holds it
};

}  // namespace zelvane
