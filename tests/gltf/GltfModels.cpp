#include "GltfModels.h"

#include <cmath>
#include <limits>
#include <random>

namespace zelvane::test {
namespace {

using Colour = std::array<uint8_t, 4>;

float heightAt(uint32_t column, uint32_t row) {
    return 0.5f * std::sin(0.7f * static_cast<float>(column)) * std::cos(0.45f * static_cast<float>(row));
}

// The surface's unit normal at a grid point, from the height's slopes.
std::array<float, 3> surfaceNormal(uint32_t column, uint32_t row) {
    const float x = static_cast<float>(column);
    const float z = static_cast<float>(row);
    const float dx = 0.35f * std::cos(0.7f * x) * std::cos(0.45f * z);
    const float dz = -0.225f * std::sin(0.7f * x) * std::sin(0.45f * z);
    const float length = std::sqrt(dx * dx + 1.0f + dz * dz);
    return {-dx / length, 1.0f / length, -dz / length};
}

Mag5PolygonSpec surfacePolygon(const Mag5ModelSpec& model, const std::vector<uint32_t>& vertices, uint32_t cell,
                               bool flat, uint32_t columns) {
    Mag5PolygonSpec polygon;
    polygon.textureIndex = cell % 5 == 4 ? -1 : static_cast<int32_t>(cell % 2);
    polygon.colour = {static_cast<uint8_t>(100 + cell % 7), 180, static_cast<uint8_t>(cell % 3 * 100), 255};
    for (const uint32_t vertex : vertices) {
        const auto& position = model.vertices[vertex].position;
        polygon.corners.push_back({vertex, position[0] / static_cast<float>(columns), 1.0f - position[2] / 8.0f});
    }
    if (flat) {
        polygon.flags = 1;
        const auto& normal = model.vertices[vertices[0]].normal;
        polygon.faceNormal = {normal[0] + 0.001 * cell, normal[1], normal[2]};
    }
    return polygon;
}

}  // namespace

Mag5ModelSpec surfaceModel(bool flat, uint32_t columns, uint32_t rows) {
    Mag5ModelSpec model;
    model.textures = {"grass.pcx", "rock.pcx"};
    for (uint32_t row = 0; row <= rows; ++row) {
        for (uint32_t column = 0; column <= columns; ++column) {
            model.vertices.push_back({{static_cast<float>(column), heightAt(column, row), static_cast<float>(row)},
                                      surfaceNormal(column, row)});
        }
    }
    for (uint32_t row = 0; row < rows; ++row) {
        for (uint32_t column = 0; column < columns; ++column) {
            const uint32_t a = row * (columns + 1) + column;
            const uint32_t b = a + 1;
            const uint32_t c = a + columns + 2;
            const uint32_t d = a + columns + 1;
            const uint32_t cell = row * columns + column;
            if (cell % 3 == 2) {
                model.polygons.push_back(surfacePolygon(model, {a, d, c}, cell, flat, columns));
                model.polygons.push_back(surfacePolygon(model, {a, c, b}, cell, flat, columns));
            } else {
                model.polygons.push_back(surfacePolygon(model, {a, d, c, b}, cell, flat, columns));
            }
        }
    }
    return model;
}

Mag5ModelSpec manyVerticesModel(uint32_t minimumVertices) {
    Mag5ModelSpec model;
    const uint32_t triangles = (minimumVertices + 2) / 3;
    const auto columns = static_cast<uint32_t>(std::ceil(std::sqrt(triangles / 2.0)));
    for (uint32_t row = 0; row <= columns; ++row) {
        for (uint32_t column = 0; column <= columns; ++column) {
            model.vertices.push_back(vertexAt(static_cast<float>(column), static_cast<float>(row), 0.0f));
        }
    }
    for (uint32_t triangle = 0; triangle < triangles; ++triangle) {
        const uint32_t cell = triangle / 2;
        const uint32_t a = cell / columns * (columns + 1) + cell % columns;
        const std::vector<uint32_t> corners = triangle % 2 == 0 ? std::vector<uint32_t>{a, a + 1, a + columns + 2}
                                                                : std::vector<uint32_t>{a, a + columns + 2, a + columns + 1};
        Mag5PolygonSpec polygon = flatPolygonOver(corners, -1, 0.0, 1e-4 * triangle, 1.0);
        polygon.colour = {static_cast<uint8_t>(triangle % 256), 10, 20, 255};
        model.polygons.push_back(polygon);
    }
    return model;
}

Mag5ModelSpec fanModel(uint32_t blades) {
    Mag5ModelSpec model;
    model.textures = {"fan.pcx"};
    model.vertices.push_back(vertexAt(0, 0, 0, 0, 0, 1));
    for (uint32_t blade = 0; blade <= blades; ++blade) {
        const float angle = 6.0f * static_cast<float>(blade) / static_cast<float>(blades);
        model.vertices.push_back(vertexAt(std::cos(angle), std::sin(angle), 0, 0.1f, 0, 1));
    }
    for (uint32_t blade = 0; blade < blades; ++blade) {
        Mag5PolygonSpec polygon = polygonOver({0, blade + 1, blade + 2}, 0);
        polygon.corners[0].u = 0.01f * static_cast<float>(blade);
        polygon.colour = {200, 100, 50, 128};
        model.polygons.push_back(polygon);
    }
    return model;
}

Mag5ModelSpec directionlessNormalsModel() {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Mag5ModelSpec model;
    model.textures = {"odd.pcx"};
    model.vertices = {vertexAt(0, 0, 0, 0, 0, 0),   vertexAt(2, 0, 0, nan, 0, 1), vertexAt(2, 1, 0.5f, 0, 1, 0),
                      vertexAt(0, 1, 0.5f, 0, 0, 0), vertexAt(1, 0, 0, 0, 0, 0),  vertexAt(3, 0, 0, 0, 0, 0)};
    model.polygons = {
        polygonOver({0, 1, 2, 3}, 0),                                                   // smooth, two without
        flatPolygonOver({0, 2, 3}, 0, 0.0, 0.0, 0.0),                                   // zero face normal
        flatPolygonOver({1, 2, 3}, -1, std::numeric_limits<double>::quiet_NaN(), 0.0, 1.0),  // NaN face normal
        polygonOver({0, 4, 5}, -1),                                                     // on a line: (0, 0, 1)
    };
    return model;
}

Mag5ModelSpec randomModel(uint32_t seed) {
    std::mt19937 random(seed);
    const auto pick = [&random](uint32_t count) { return static_cast<uint32_t>(random() % count); };
    const auto lattice = [&] { return static_cast<float>(pick(3)); };
    const std::array<std::array<float, 3>, 4> normals{{{0, 0, 1}, {0, 1, 0}, {0.6f, 0.8f, 0}, {0, 0, 0}}};
    const std::array<float, 3> texcoords{0.0f, 0.5f, 1.0f};
    Mag5ModelSpec model;
    model.textures = {"a.png", "missing.pcx"};
    const uint32_t vertexCount = 3 + pick(10);
    for (uint32_t vertex = 0; vertex < vertexCount; ++vertex) {
        model.vertices.push_back({{lattice(), lattice(), lattice()}, normals[pick(4)]});
    }
    const uint32_t polygonCount = 1 + pick(12);
    for (uint32_t p = 0; p < polygonCount; ++p) {
        Mag5PolygonSpec polygon;
        polygon.textureIndex = static_cast<int32_t>(pick(3)) - 1;
        polygon.colour = {static_cast<uint8_t>(pick(2) * 200), 120, 40, 255};
        if (pick(2) == 0) {
            polygon.flags = 1;
            const auto& normal = normals[pick(4)];
            polygon.faceNormal = {normal[0], normal[1], normal[2]};
        }
        const uint32_t cornerCount = 3 + pick(2);
        for (uint32_t corner = 0; corner < cornerCount; ++corner) {
            polygon.corners.push_back({pick(vertexCount), texcoords[pick(3)], texcoords[pick(3)]});
        }
        model.polygons.push_back(polygon);
    }
    return model;
}

}  // namespace zelvane::test
