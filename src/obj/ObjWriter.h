#pragma once

#include "format/FormatWriter.h"

namespace zelvane {

// The OBJ file basePath + ".obj", with one material section per group, and
// the MTL library basePath + ".mtl" beside it, after the images the library
// names (see writeTextureFiles). A texture that has an image is named by
// that image's file, the others as the model names them. The count is the
// OBJ file's faces, given as soon as that file is complete. Large models
// are formatted by two threads, with the same text (see TextPieces).
bool writeObj(OutputSet& outputs, const ModelOutput& model, const PolygonCount& polygonCount);

inline constexpr FormatWriter kObjWriter{writeObj, nullptr};

}  // namespace zelvane
