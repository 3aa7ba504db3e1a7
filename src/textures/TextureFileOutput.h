#pragma once

#include <string>

#include "TextureFiles.h"
#include "output/OutputSet.h"

namespace zelvane {

// Adds the images that outputs in folder name to the outputs, beside them;
// an image that already lies there is not written again. False when one
// fails (the set's error says which).
bool writeTextureFiles(OutputSet& outputs, const TextureFiles& textures, const std::string& folder);

}  // namespace zelvane
