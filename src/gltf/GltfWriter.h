#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "format/FormatWriter.h"
#include "mesh/FinitePositions.h"

namespace zelvane {

// A merged and grouped store as glTF 2.0: one binary file basePath + ".glb"
// with the images embedded, or a JSON document basePath + ".gltf" with its
// buffer basePath + ".bin" and the images beside it (see
// writeTextureFiles). A textured group's material shows its texture's image
// where one was found. The count is that of the polygons that kept a
// triangle (see GltfMesh), given once the files are complete.
bool writeGlb(OutputSet& outputs, const ModelOutput& model, const PolygonCount& polygonCount);
bool writeGltf(OutputSet& outputs, const ModelOutput& model, const PolygonCount& polygonCount);

inline constexpr FormatWriter kGlbWriter{writeGlb, refuseNonFinitePositions};
inline constexpr FormatWriter kGltfWriter{writeGltf, refuseNonFinitePositions};

}  // namespace zelvane
