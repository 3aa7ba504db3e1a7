#include "TerrainModel.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "mag5writer/Mag5Writer.h"

namespace zelvane::tools {
namespace {

constexpr size_t kChunkSize = size_t{1} << 20;
constexpr uint32_t kColourCount = 32;
const std::vector<std::string> kTextures{"grass.pcx", "rock.pcx", "sand.pcx", "snow.pcx", "dirt.pcx", "moss.pcx"};

uint32_t mix(uint32_t x, uint32_t y) {
    uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return h ^ (h >> 13);
}

bool splitCell(uint32_t x, uint32_t y) {
    return mix(x, y) % 5 < 2;  // two triangles; otherwise one quad
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

// The grid: columns cells per row, rows as many as the polygon count needs.
struct Grid {
    uint32_t columns = 0;
    uint32_t rows = 0;
    uint32_t vertexIndex(uint32_t x, uint32_t y) const { return y * (columns + 1) + x; }
};

Grid gridFor(uint32_t polygonCount) {
    Grid grid;
    grid.columns = std::max<uint32_t>(4, static_cast<uint32_t>(std::sqrt(polygonCount * 0.7)));
    uint64_t polygons = 0;
    while (polygons < polygonCount) {
        for (uint32_t x = 0; x < grid.columns && polygons < polygonCount; ++x) {
            polygons += splitCell(x, grid.rows) ? 2 : 1;
        }
        ++grid.rows;
    }
    return grid;
}

class ChunkedFile {
public:
    explicit ChunkedFile(const std::string& path) : file_(path.empty() ? nullptr : std::fopen(path.c_str(), "wb")) {
        bytes_.reserve(kChunkSize + 4096);
    }
    ~ChunkedFile() {
        if (file_ != nullptr) std::fclose(file_);
    }
    bool isOpen() const { return file_ != nullptr; }
    std::vector<uint8_t>& bytes() { return bytes_; }
    void flushIfLarge() {
        if (bytes_.size() >= kChunkSize) flush();
    }
    bool finish() {
        flush();
        const bool ok = !failed_ && std::fclose(file_) == 0;
        file_ = nullptr;
        return ok;
    }

private:
    void flush() {
        if (std::fwrite(bytes_.data(), 1, bytes_.size(), file_) != bytes_.size()) failed_ = true;
        bytes_.clear();
    }
    FILE* file_;
    std::vector<uint8_t> bytes_;
    bool failed_ = false;
};

void appendText(std::vector<uint8_t>& bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

template <typename T>
void appendRaw(std::vector<uint8_t>& bytes, T value) {  // the generator runs on little-endian hosts
    const auto* raw = reinterpret_cast<const uint8_t*>(&value);
    bytes.insert(bytes.end(), raw, raw + sizeof value);
}

void appendPlyHeader(std::vector<uint8_t>& bytes, uint32_t vertexCount, uint32_t polygonCount) {
    appendText(bytes, "ply\nformat binary_little_endian 1.0\nelement vertex " + std::to_string(vertexCount) +
                          "\nproperty float x\nproperty float y\nproperty float z\n"
                          "property float nx\nproperty float ny\nproperty float nz\n"
                          "element face " + std::to_string(polygonCount) +
                          "\nproperty list uchar int vertex_indices\nend_header\n");
}

class TerrainWriter {
public:
    TerrainWriter(uint32_t polygonCount, const TerrainFiles& files)
        : polygonCount_(polygonCount),
          grid_(gridFor(polygonCount)),
          mag_(files.magPath),
          ply_(files.plyPath),
          plyRequested_(!files.plyPath.empty()) {}

    bool write() {
        if (!mag_.isOpen() || plyRequested_ != ply_.isOpen()) return false;
        const uint32_t vertexCount = (grid_.columns + 1) * (grid_.rows + 1);
        appendMag5Header(mag_.bytes(), kTextures, vertexCount, polygonCount_, 0);
        if (plyWanted()) appendPlyHeader(ply_.bytes(), vertexCount, polygonCount_);
        writeVertices();
        writePolygons();
        return mag_.finish() && (!plyWanted() || ply_.finish());
    }

private:
    bool plyWanted() const { return ply_.isOpen(); }

    void writeVertices() {
        for (uint32_t y = 0; y <= grid_.rows; ++y) {
            for (uint32_t x = 0; x <= grid_.columns; ++x) {
                const Mag5VertexSpec vertex{{float(x), heightAt(x, y), float(y)}, normalAt(x, y)};
                appendMag5Vertex(mag_.bytes(), vertex, 0);
                mag_.flushIfLarge();
                if (plyWanted()) {
                    for (float value : vertex.position) appendRaw(ply_.bytes(), value);
                    for (float value : vertex.normal) appendRaw(ply_.bytes(), value);
                    ply_.flushIfLarge();
                }
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
            const uint32_t vx = vertex % (grid_.columns + 1), vy = vertex / (grid_.columns + 1);
            polygon_.corners.push_back({vertex, float(vx % 8) / 8.0f, float(vy % 8) / 8.0f});
        }
        setMaterial(x, y);
        appendMag5Polygon(mag_.bytes(), polygon_, 0);
        mag_.flushIfLarge();
        if (plyWanted()) {
            appendRaw(ply_.bytes(), static_cast<uint8_t>(corners.size()));
            for (uint32_t vertex : corners) appendRaw(ply_.bytes(), static_cast<int32_t>(vertex));
            ply_.flushIfLarge();
        }
    }

    void setMaterial(uint32_t x, uint32_t y) {
        const uint32_t region = mix(x / 64, y / 64);
        polygon_.textureIndex = region % 100 < 8 ? -1 : static_cast<int32_t>(region % kTextures.size());
        const uint32_t colour = mix(x / 32 + 1000, y / 32) % kColourCount;
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
    Grid grid_;
    ChunkedFile mag_;
    ChunkedFile ply_;
    bool plyRequested_;
    Mag5PolygonSpec polygon_;
};

}  // namespace

bool writeTerrainModel(uint32_t polygonCount, const TerrainFiles& files) {
    return TerrainWriter(polygonCount, files).write();
}

}  // namespace zelvane::tools
