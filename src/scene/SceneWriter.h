#pragma once

#include "format/FormatWriter.h"

namespace zelvane {

// The XML scene document basePath + ".xml" and, in the same folder, one OBJ
// file per material group, after the images its shaders name (see
// writeTextureFiles). The count is the polygons of the mesh files, given
// once the last is complete.
bool writeScene(OutputSet& outputs, const ModelOutput& model, const PolygonCount& polygonCount);

inline constexpr FormatWriter kSceneWriter{writeScene, nullptr};

}  // namespace zelvane
