// The flat family: a faceted low-poly model scaled up. Every polygon is flat
// shaded with its own face normal, the Newell normal of its corners in
// double precision, and every corner has a texture coordinate of its own:
// each polygon is an island of its own in a texture atlas. Triangles and
// quads mixed, over a few dozen materials in patches. The vertex records
// carry the up vector as their normal; flat-shaded polygons never use it.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "CellGrid.h"
#include "Families.h"
#include "GridHash.h"
#include "ModelSink.h"

namespace zelvane::tools {
namespace {

const std::vector<std::string> kTextures{"hull.pcx",  "deck.pcx",  "crate.pcx", "rope.pcx",
                                         "sail.pcx",  "metal.pcx", "wood.pcx",  "paint.pcx"};
constexpr uint32_t kColoursPerTexture = 4;
constexpr uint32_t kUntexturedMaterials = 4;
constexpr uint32_t kMaterialCount = 8 * kColoursPerTexture + kUntexturedMaterials;  // 36
constexpr uint32_t kPatchCells = 8;

bool splitCell(uint32_t x, uint32_t y) {
    return mixCell(x + 7919, y) % 5 < 2;  // two triangles; otherwise one quad
}

// Grid vertex (x, y), jittered and raised into broad shapes with small bumps.
std::array<float, 3> positionAt(uint32_t x, uint32_t y) {
    const double a = 2.0 * x + 1.2 * unitAt(x, y + 0x10000) - 0.6;
    const double b = 2.0 * y + 1.2 * unitAt(x + 0x10000, y) - 0.6;
    const double height = 7.0 * std::sin(0.05 * a) * std::cos(0.043 * b) + 1.5 * unitAt(x + 0x20000, y + 0x20000);
    return {float(a), float(height), float(b)};
}

std::array<double, 3> newellNormal(const std::vector<std::array<float, 3>>& corners) {
    std::array<double, 3> normal{};
    for (size_t k = 0; k < corners.size(); ++k) {
        const auto& p = corners[k];
        const auto& q = corners[(k + 1) % corners.size()];
        normal[0] += (double(p[1]) - q[1]) * (double(p[2]) + q[2]);
        normal[1] += (double(p[2]) - q[2]) * (double(p[0]) + q[0]);
        normal[2] += (double(p[0]) - q[0]) * (double(p[1]) + q[1]);
    }
    const double length = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
    for (double& component : normal) component /= length;
    return normal;
}

std::array<uint8_t, 4> colourOf(uint32_t index) {
    return {static_cast<uint8_t>(40 + index * 27), static_cast<uint8_t>(200 - index * 19),
            static_cast<uint8_t>(90 + index * 13), 255};
}

class FacetWriter {
public:
    FacetWriter(uint32_t polygonCount, const BenchModelFiles& files)
        : polygonCount_(polygonCount),
          grid_(mixedGridFor(polygonCount, splitCell)),
          atlasColumns_(static_cast<uint32_t>(std::ceil(std::sqrt(double(polygonCount))))),
          sink_(files, textureNamesFor(files, kTextures), grid_.vertexCount(), polygonCount) {
        polygon_.flags = 1;
    }

    bool write() {
        if (!sink_.isOpen()) return false;
        writeVertices();
        writePolygons();
        return sink_.finish();
    }

private:
    void writeVertices() {
        positions_.reserve(grid_.vertexCount());
        for (uint32_t y = 0; y <= grid_.rows; ++y) {
            for (uint32_t x = 0; x <= grid_.columns; ++x) {
                positions_.push_back(positionAt(x, y));
                sink_.addVertex({positions_.back(), {0.0f, 1.0f, 0.0f}}, {0.0f, 0.0f});
            }
        }
    }

    void writePolygons() {
        for (uint32_t y = 0; y < grid_.rows; ++y) {
            for (uint32_t x = 0; x < grid_.columns && written_ < polygonCount_; ++x) {
                const uint32_t a = grid_.vertexIndex(x, y), b = grid_.vertexIndex(x + 1, y);
                const uint32_t c = grid_.vertexIndex(x + 1, y + 1), d = grid_.vertexIndex(x, y + 1);
                if (!splitCell(x, y)) {
                    emit(x, y, {a, d, c, b});
                    continue;
                }
                emit(x, y, {a, d, c});
                if (written_ < polygonCount_) emit(x, y, {a, c, b});
            }
        }
    }

    // One polygon of cell (x, y) over grid vertices given counter-clockwise from above.
    void emit(uint32_t x, uint32_t y, const std::vector<uint32_t>& vertices) {
        cornerPositions_.clear();
        polygon_.corners.clear();
        for (size_t k = 0; k < vertices.size(); ++k) {
            cornerPositions_.push_back(positions_[vertices[k]]);
            const auto texcoord = atlasTexcoord(k, vertices.size());
            polygon_.corners.push_back({vertices[k], texcoord[0], texcoord[1]});
        }
        polygon_.faceNormal = newellNormal(cornerPositions_);
        setMaterial(x, y);
        sink_.addPolygon(polygon_);
        ++written_;
    }

    // Corner k of the current polygon inside its own island of the atlas: near
    // a corner of the island, nudged by a little jitter of its own.
    std::array<float, 2> atlasTexcoord(size_t k, size_t cornerCount) const {
        static constexpr std::array<std::array<double, 2>, 4> kQuadPlaces{{{0.1, 0.1}, {0.1, 0.9}, {0.9, 0.9}, {0.9, 0.1}}};
        static constexpr std::array<std::array<double, 2>, 3> kTrianglePlaces{{{0.1, 0.1}, {0.1, 0.9}, {0.9, 0.5}}};
        const auto& place = cornerCount == 4 ? kQuadPlaces[k] : kTrianglePlaces[k];
        const uint32_t corner = static_cast<uint32_t>(k);
        const double u = written_ % atlasColumns_ + place[0] + 0.08 * unitAt(written_, corner);
        const double v = written_ / atlasColumns_ + place[1] + 0.08 * unitAt(written_, corner + 4);
        return {float(u / atlasColumns_), float(v / atlasColumns_)};
    }

    // Materials come in patches of cells, as the parts of a model do.
    void setMaterial(uint32_t x, uint32_t y) {
        const uint32_t material = mixCell(x / kPatchCells + 500, y / kPatchCells) % kMaterialCount;
        const bool textured = material < kMaterialCount - kUntexturedMaterials;
        polygon_.textureIndex = textured ? static_cast<int32_t>(material % kTextures.size()) : -1;
        polygon_.colour = colourOf(textured ? material / static_cast<uint32_t>(kTextures.size())
                                            : kColoursPerTexture + material % kUntexturedMaterials);
    }

    uint32_t polygonCount_;
    CellGrid grid_;
    uint32_t atlasColumns_;
    ModelSink sink_;
    std::vector<std::array<float, 3>> positions_;
    std::vector<std::array<float, 3>> cornerPositions_;
    Mag5PolygonSpec polygon_;
    uint32_t written_ = 0;
};

}  // namespace

size_t flatFacetsTextures() {
    return kTextures.size();
}

bool writeFlatFacets(uint32_t polygonCount, const BenchModelFiles& files) {
    return FacetWriter(polygonCount, files).write();
}

}  // namespace zelvane::tools
