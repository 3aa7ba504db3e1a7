// The generator of each model family (see BenchModel.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BenchModel.h"

namespace zelvane::tools {

// The texture names a model is written with: those the files give, when
// they give as many as the family has, else the family's own.
inline const std::vector<std::string>& textureNamesFor(const BenchModelFiles& files,
                                                       const std::vector<std::string>& own) {
    return files.textureNames.size() == own.size() ? files.textureNames : own;
}

size_t sharedTerrainTextures();
size_t smoothSurfaceTextures();
size_t flatFacetsTextures();

bool writeSharedTerrain(uint32_t polygonCount, const BenchModelFiles& files);
bool writeSmoothSurface(uint32_t polygonCount, const BenchModelFiles& files);
bool writeFlatFacets(uint32_t polygonCount, const BenchModelFiles& files);

}  // namespace zelvane::tools
