// Writes a large generated terrain model for benchmarks:
//   make_terrain_model <polygon count> <out.mag> [<out.ply>]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "terrain/TerrainModel.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: make_terrain_model <polygon count> <out.mag> [<out.ply>]\n");
        return 1;
    }
    const unsigned long count = std::strtoul(argv[1], nullptr, 10);
    const zelvane::tools::TerrainFiles files{argv[2], argc == 4 ? argv[3] : ""};
    if (count == 0 || count > 0xFFFFFFFFul || !zelvane::tools::writeTerrainModel(static_cast<uint32_t>(count), files)) {
        std::fprintf(stderr, "make_terrain_model: cannot write %s\n", argv[2]);
        return 2;
    }
    return 0;
}
