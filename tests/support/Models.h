#pragma once

#include <string>
#include <vector>

#include "mag5writer/Mag5Writer.h"

namespace zelvane::test {

using tools::Mag5CornerSpec;
using tools::Mag5ModelSpec;
using tools::Mag5PolygonSpec;
using tools::Mag5VertexSpec;

Mag5VertexSpec vertexAt(float x, float y, float z, float nx = 0.0f, float ny = 0.0f, float nz = 1.0f);

// A smooth-shaded polygon over the given vertices with corner k at (k/4, k/8)
// in texture space; textureIndex -1 leaves it untextured.
Mag5PolygonSpec polygonOver(const std::vector<uint32_t>& vertices, int32_t textureIndex = -1);
// The same, flat shaded with the given face normal.
Mag5PolygonSpec flatPolygonOver(const std::vector<uint32_t>& vertices, int32_t textureIndex, double nx, double ny,
                                double nz);

// A unit square of four vertices, two textures, and a textured triangle
// followed by an untextured flat quad.
Mag5ModelSpec smallModel();

void saveModel(const Mag5ModelSpec& model, const std::string& path);

}  // namespace zelvane::test
