// Writes MAG5 model files. A developer tool: the tests build their fixtures
// with it and the sample model in examples/ comes from it. The converter
// itself only reads MAG5.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zelvane::tools {

struct Mag5VertexSpec {
    std::array<float, 3> position{};
    std::array<float, 3> normal{};
};

struct Mag5CornerSpec {
    uint32_t vertex = 0;
    float u = 0.0f;
    float v = 0.0f;
};

struct Mag5PolygonSpec {
    uint32_t flags = 0;  // bit 0: flat shaded
    std::array<double, 3> faceNormal{};
    std::array<uint8_t, 4> colour{255, 255, 255, 255};  // red, green, blue, fourth
    int32_t textureIndex = -1;                           // -1: untextured
    uint32_t tailAWord1 = 0;  // the two corner-block words that count as render state
    uint32_t tailBWord1 = 0;
    std::vector<Mag5CornerSpec> corners;  // cornerCount is corners.size()
};

struct Mag5ModelSpec {
    std::vector<std::string> textures;  // at most 32 bytes each; 32 bytes are written without NUL
    std::vector<Mag5VertexSpec> vertices;
    std::vector<Mag5PolygonSpec> polygons;
    // Byte written into every field the format leaves uninterpreted, so that a
    // reader that looks at them shows up in tests.
    uint8_t reservedFill = 0xA5;
};

// The pieces of a MAG5 file, appended to bytes, for writers that stream
// models too large to hold as a Mag5ModelSpec: the header with the texture
// table and both counts, then each vertex record, then each polygon.
void appendMag5Header(std::vector<uint8_t>& bytes, const std::vector<std::string>& textures, uint32_t vertexCount,
                      uint32_t polygonCount, uint8_t reservedFill);
void appendMag5Vertex(std::vector<uint8_t>& bytes, const Mag5VertexSpec& vertex, uint8_t reservedFill);
void appendMag5Polygon(std::vector<uint8_t>& bytes, const Mag5PolygonSpec& polygon, uint8_t reservedFill);

// The whole file as bytes, laid out exactly as a MAG5 file.
std::vector<uint8_t> encodeMag5(const Mag5ModelSpec& model);

// Writes encodeMag5(model) to path; false when the file cannot be written.
bool saveMag5(const Mag5ModelSpec& model, const std::string& path);

}  // namespace zelvane::tools
