// The shared family: a rolling terrain of shared grid vertices, about half
// of it flat shaded, mostly textured with a handful of tiling textures and a
// few dozen colours, triangles and quads mixed. Heights and normals are
// rounded, so only some hundred distinct normals and 64 distinct texture
// coordinates occur however large the terrain.
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

constexpr uint32_t kColourCount = 32;
const std::vector<std::string> kTextures{"grass.pcx", "rock.pcx", "sand.pcx", "snow.pcx", "dirt.pcx", "moss.pcx"};

bool splitCell(uint32_t x, uint32_t y) {
    return mixCell(x, y) % 5 < 2;  // two triangles; otherwise one quad
}

float heightAt(uint32_t x, uint32_t y) {
    const double h = 6.0 * std::sin(x * 0.031) * std::cos(y * 0.027) + 2.0 * std::sin((x + y) * 0.11);
    return static_cast<float>(std::round(h * 8.0) / 8.0);
}

// Components rounded to 1/16 before normalising, so that many normals repeat.
std::array<float, 3> quantisedNormal(double nx, double ny, double nz) {
    nx = std::round(nx * 16.0) / 16.0;
    ny = std::round(ny * 16.0) / 16.0;
    nz = std::round(nz * 16.0) / 16.0;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    return {static_cast<float>(nx / length), static_cast<float>(ny / length), static_cast<float>(nz / length)};
}

std::array<float, 3> normalAt(uint32_t x, uint32_t y) {
    const double dx = heightAt(x + 1, y) - heightAt(x > 0 ? x - 1 : x, y);
    const double dz = heightAt(x, y + 1) - heightAt(x, y > 0 ? y - 1 : y);
    return quantisedNormal(-dx / 2.0, 1.0, -dz / 2.0);
}

// Tiles every eight grid steps: a function of the vertex alone.
std::array<float, 2> texcoordAt(uint32_t x, uint32_t y) {
    return {float(x % 8) / 8.0f, float(y % 8) / 8.0f};
}

class TerrainWriter {
public:
    TerrainWriter(uint32_t polygonCount, const BenchModelFiles& files)
        : polygonCount_(polygonCount),
          grid_(mixedGridFor(polygonCount, splitCell)),
          sink_(files, textureNamesFor(files, kTextures), grid_.vertexCount(), polygonCount) {}

    bool write() {
        if (!sink_.isOpen()) return false;
        writeVertices();
        writePolygons();
        return sink_.finish();
    }

private:
    void writeVertices() {
        for (uint32_t y = 0; y <= grid_.rows; ++y) {
            for (uint32_t x = 0; x <= grid_.columns; ++x) {
                sink_.addVertex({{float(x), heightAt(x, y), float(y)}, normalAt(x, y)}, texcoordAt(x, y));
            }
        }
    }

    void writePolygons() {
        uint32_t written = 0;
        for (uint32_t y = 0; y < grid_.rows; ++y) {
            for (uint32_t x = 0; x < grid_.columns && written < polygonCount_; ++x) {
                const uint32_t a = grid_.vertexIndex(x, y), b = grid_.vertexIndex(x + 1, y);
                const uint32_t c = grid_.vertexIndex(x + 1, y + 1), d = grid_.vertexIndex(x, y + 1);
                if (!splitCell(x, y)) {
                    emit(x, y, {a, d, c, b}), ++written;
                    continue;
                }
                emit(x, y, {a, d, c}), ++written;
                if (written < polygonCount_) emit(x, y, {a, c, b}), ++written;
            }
        }
    }

    // One polygon of cell (x, y) over grid vertices given counter-clockwise from above.
    void emit(uint32_t x, uint32_t y, const std::vector<uint32_t>& corners) {
        polygon_.corners.clear();
        for (uint32_t vertex : corners) {
            const auto texcoord = texcoordAt(vertex % (grid_.columns + 1), vertex / (grid_.columns + 1));
            polygon_.corners.push_back({vertex, texcoord[0], texcoord[1]});
        }
        setMaterial(x, y);
        sink_.addPolygon(polygon_);
    }

    void setMaterial(uint32_t x, uint32_t y) {
        const uint32_t region = mixCell(x / 64, y / 64);
        polygon_.textureIndex = region % 100 < 8 ? -1 : static_cast<int32_t>(region % kTextures.size());
        const uint32_t colour = mixCell(x / 32 + 1000, y / 32) % kColourCount;
        polygon_.colour = {static_cast<uint8_t>(128 + colour * 4), static_cast<uint8_t>(255 - colour * 3),
                           static_cast<uint8_t>(64 + colour * 5), 255};
        const bool flat = (x / 16 + y / 16) % 2 == 0;
        polygon_.flags = flat ? 1 : 0;
        if (flat) {
            const double dx = heightAt(x + 1, y) - heightAt(x, y);
            const double dz = heightAt(x, y + 1) - heightAt(x, y);
            const auto normal = quantisedNormal(-dx, 1.0, -dz);
            polygon_.faceNormal = {normal[0], normal[1], normal[2]};
        }
    }

    uint32_t polygonCount_;
    CellGrid grid_;
    ModelSink sink_;
    Mag5PolygonSpec polygon_;
};

}  // namespace

size_t sharedTerrainTextures() {
    return kTextures.size();
}

bool writeSharedTerrain(uint32_t polygonCount, const BenchModelFiles& files) {
    return TerrainWriter(polygonCount, files).write();
}

}  // namespace zelvane::tools
