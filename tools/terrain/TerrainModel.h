// Large generated models for benchmarks: a rolling terrain of shared grid
// vertices, about half of it flat shaded, mostly textured with a handful of
// tiling textures and a few dozen colours, triangles and quads mixed.
#pragma once

#include <cstdint>
#include <string>

namespace zelvane::tools {

struct TerrainFiles {
    std::string magPath;
    std::string plyPath;  // the same mesh as binary PLY (positions, vertex normals, faces); empty for none
};

// Writes a terrain of exactly polygonCount polygons; false when a file
// cannot be written.
bool writeTerrainModel(uint32_t polygonCount, const TerrainFiles& files);

}  // namespace zelvane::tools
