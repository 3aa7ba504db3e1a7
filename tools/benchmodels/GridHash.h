// A cheap, well-mixed hash of two grid coordinates, for the generators'
// pseudo-random choices: the same model comes out on every run and host.
#pragma once

#include <cstdint>

namespace zelvane::tools {

inline uint32_t mixCell(uint32_t x, uint32_t y) {
    uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return h ^ (h >> 13);
}

// A value in [0, 1) from the hash of (x, y).
inline double unitAt(uint32_t x, uint32_t y) {
    return mixCell(x, y) / 4294967296.0;
}

}  // namespace zelvane::tools
