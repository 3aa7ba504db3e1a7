#pragma once

#include <array>
#include <cstdint>

#include "Material.h"

namespace zelvane {

// A triangle or quad. Only the first cornerCount slots of the index fields
// carry meaning; a triangle's fourth slots are 0. The texcoord slots mean
// something only for textured polygons and are 0 otherwise.
struct Polygon {
    uint32_t cornerCount = 0;
    std::array<uint32_t, 4> vertex{};
    std::array<uint32_t, 4> normal{};
    std::array<uint32_t, 4> texcoord{};
    Material material;
};

}  // namespace zelvane
