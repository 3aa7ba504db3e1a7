// MAG5 files read back for the tests, field by field, independently of the
// converter's loader: each polygon with its corners' values resolved.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelvane::test {

struct Mag5ReadCorner {
    std::array<float, 3> position{};
    std::array<double, 3> normal{};  // the vertex's normal, or the face normal of a flat polygon
    float u = 0.0f;
    float v = 0.0f;  // as the file holds it, counted from the image's top
};

struct Mag5ReadPolygon {
    bool flat = false;
    std::array<uint8_t, 4> colour{};
    std::optional<std::string> texture;  // the texture's name; none when untextured
    std::vector<Mag5ReadCorner> corners;
};

struct Mag5Reading {
    std::vector<std::string> textures;
    uint32_t vertexCount = 0;
    std::vector<Mag5ReadPolygon> polygons;
    std::string error;  // what does not add up; "" when the file reads whole, to its last byte
    bool reservedAllZero = true;  // every field the format leaves uninterpreted
};

Mag5Reading readMag5(const std::string& path);

}  // namespace zelvane::test
