// The generator of each model family (see BenchModel.h).
#pragma once

#include <cstdint>

#include "BenchModel.h"

namespace zelvane::tools {

bool writeSharedTerrain(uint32_t polygonCount, const BenchModelFiles& files);
bool writeSmoothSurface(uint32_t polygonCount, const BenchModelFiles& files);
bool writeFlatFacets(uint32_t polygonCount, const BenchModelFiles& files);

}  // namespace zelvane::tools
