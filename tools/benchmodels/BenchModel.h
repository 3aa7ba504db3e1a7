// Large generated models for benchmarks, in three families that stress a
// converter differently:
// - shared: a rolling terrain of shared grid vertices, about half of it flat
//   shaded with normals rounded so that few distinct ones remain, tiling
//   texture coordinates, six textures and a few dozen colours, triangles and
//   quads mixed;
// - smooth: a smooth-shaded sculpted surface of triangles, every vertex with
//   a normal and a texture coordinate of its own (about half a distinct
//   normal and half a distinct texture coordinate per triangle), one texture
//   and one colour;
// - flat: a flat-shaded faceted model, every polygon with its own face normal
//   and every corner with its own texture coordinate in an atlas, triangles
//   and quads mixed, a few dozen materials.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane::tools {

enum class ModelFamily { shared, smooth, flat };

struct BenchModelFiles {
    std::string magPath;
    std::string plyPath;  // the same mesh as binary PLY (see ModelSink.h); empty for none
    // Names for the family's textures in place of its own, when it gives as
    // many (see textureCount), so that models can share a game's textures.
    std::vector<std::string> textureNames;
};

// How many textures a model of the family names.
size_t textureCount(ModelFamily family);

std::string_view familyName(ModelFamily family);
std::optional<ModelFamily> parseFamily(std::string_view name);
const std::vector<ModelFamily>& allFamilies();

// Writes a model of the family with exactly polygonCount polygons; false when
// a file cannot be written.
bool writeBenchModel(ModelFamily family, uint32_t polygonCount, const BenchModelFiles& files);

}  // namespace zelvane::tools
