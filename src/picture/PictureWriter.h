#pragma once

#include <cstdint>
#include <string>

#include "format/FormatWriter.h"

namespace zelvane {

// The model's picture (see Picture.h), size x size pixels, as the PNG file
// path among the outputs; the groups show the images found for their
// textures (TextureFile::decoded). Drawn by up to threads threads, with the
// same bytes whatever their number. False when the file fails (the set's
// error says which).
bool writePicture(OutputSet& outputs, const ModelOutput& model, const std::string& path, uint32_t size,
                  unsigned threads);

}  // namespace zelvane
