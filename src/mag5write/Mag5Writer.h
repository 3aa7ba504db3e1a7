#pragma once

#include "format/FormatWriter.h"
#include "mesh/FinitePositions.h"

namespace zelvane {

// The model as a MAG5 file basePath + ".mag", laid out as the loader reads
// it, every field the format leaves uninterpreted zero; with the images of
// its textures beside it (8-bit PCX files, when the textures were prepared
// for it). The texture table holds the textures some polygon shows, each
// named by its image's file when it has one, else as the model names it.
// The vertices are those of Mag5Vertices; a polygon whose corners share one
// normal is written flat with it, and every polygon keeps its place in the
// store's order. A colour channel is its nearest byte; texture v is counted
// from the image's top again, as the game counts it. A texture name of more
// than 32 bytes, or a table beyond the format's 32-bit counts, is refused
// before anything is written. The count is the polygons written.
bool writeMag5(OutputSet& outputs, const ModelOutput& model, const PolygonCount& polygonCount);

inline constexpr FormatWriter kMag5Writer{writeMag5, refuseNonFinitePositions};

}  // namespace zelvane
