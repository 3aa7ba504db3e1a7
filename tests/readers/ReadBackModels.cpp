#include "ReadBackModels.h"

namespace zelvane::test {
namespace {

using Colour = std::array<uint8_t, 4>;

// A polygon with its own texture coordinates: corner k at (u0 + k * du, v0 - k * dv).
Mag5PolygonSpec mappedPolygon(const std::vector<uint32_t>& vertices, int32_t textureIndex, const Colour& colour,
                              float u0, float du, float v0, float dv) {
    Mag5PolygonSpec polygon = polygonOver(vertices, textureIndex);
    polygon.colour = colour;
    for (size_t k = 0; k < polygon.corners.size(); ++k) {
        polygon.corners[k].u = u0 + du * static_cast<float>(k);
        polygon.corners[k].v = v0 - dv * static_cast<float>(k);
    }
    return polygon;
}

Mag5PolygonSpec flatShaded(Mag5PolygonSpec polygon, double nx, double ny, double nz) {
    polygon.flags = 1;
    polygon.faceNormal = {nx, ny, nz};
    return polygon;
}

// A 4 x 3 grid of vertices with fractional coordinates and normals that
// lean a little more at every vertex.
std::vector<Mag5VertexSpec> hullVertices() {
    std::vector<Mag5VertexSpec> vertices;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const auto i = static_cast<float>(4 * row + column);
            vertices.push_back(vertexAt(0.125f * i - 0.7f, 0.3f * static_cast<float>(column) + 0.01f,
                                        -1.2f + 0.37f * static_cast<float>(row), 0.1f * i, 0.97f, -0.05f * i));
        }
    }
    return vertices;
}

}  // namespace

Mag5ModelSpec shipModel() {
    Mag5ModelSpec model;
    model.textures = {"hull planks.pcx", "sail&rope<1>.pcx", "\"deck\" 'B'.pcx", "flag>.pcx"};
    model.vertices = hullVertices();
    Mag5VertexSpec twin = model.vertices[5];  // vertex 12: vertex 5's position, a normal of its own
    twin.normal = {-0.6f, 0.0f, 0.8f};
    model.vertices.push_back(twin);
    const Colour wood{200, 150, 100, 255};
    model.polygons = {
        mappedPolygon({0, 1, 5}, 0, wood, 0.013f, 0.25f, 0.9f, 0.2f),
        flatShaded(mappedPolygon({1, 2, 6, 5}, 1, {255, 255, 255, 255}, 0.5f, 0.125f, 1.0f, 0.3f), 0.0, 0.6, 0.8),
        flatShaded(mappedPolygon({2, 3, 7}, -1, {10, 20, 30, 255}, 0.0f, 0.0f, 0.0f, 0.0f), 0.0, 0.0, -1.0),
        mappedPolygon({4, 5, 9, 8}, -1, {1, 2, 254, 128}, 0.0f, 0.0f, 0.0f, 0.0f),
        mappedPolygon({12, 6, 10, 9}, 2, wood, 0.1f, 0.3f, 0.2f, -0.35f),
        mappedPolygon({0, 1, 2, 3, 4}, 0, wood, 0.0f, 0.1f, 0.0f, 0.1f),
        mappedPolygon({8, 9, 10}, 9, {90, 91, 92, 255}, 0.33f, 0.01f, 0.66f, 0.02f),
        mappedPolygon({}, 1, wood, 0.0f, 0.0f, 0.0f, 0.0f),
        mappedPolygon({5, 6, 10}, 0, {201, 150, 100, 255}, 0.7f, -0.2f, 0.1f, 0.05f),
        flatShaded(mappedPolygon({7, 6, 10, 11}, 3, wood, -1.5f, 1.25f, 2.75f, 1.5f), -0.123456789, 0.5,
                   0.987654321),
    };
    return model;
}

Mag5ModelSpec pierModel() {
    Mag5ModelSpec model;
    model.textures = {"stone.pcx", "deck.pcx"};
    model.vertices = {vertexAt(0, 0, 0, 0, 1, 0), vertexAt(4, 0, 0, 0, 1, 0), vertexAt(4, 0, 1.5f, 0.1f, 0.9f, 0),
                      vertexAt(0, 0, 1.5f, -0.1f, 0.9f, 0), vertexAt(0, -2, 0, -1, 0, 0)};
    model.polygons = {
        mappedPolygon({0, 1, 2, 3}, 1, {180, 140, 90, 255}, 0.0f, 1.0f, 1.0f, 0.5f),
        flatShaded(mappedPolygon({0, 3, 4}, 0, {128, 128, 128, 255}, 0.2f, 0.3f, 0.4f, 0.1f), -1.0, 0.0, 0.0),
        mappedPolygon({1, 2, 4}, -1, {20, 40, 60, 255}, 0.0f, 0.0f, 0.0f, 0.0f),
    };
    return model;
}

Mag5ModelSpec boatModel() {
    Mag5ModelSpec model;
    model.textures = {"deck.pcx", "sail.pcx"};
    model.vertices = {vertexAt(5, 0.5f, 0.25f, 0, 1, 0), vertexAt(7, 0.5f, 0.25f, 0, 1, 0),
                      vertexAt(6, 0.5f, 1.75f, 0, 1, 0), vertexAt(6, 3, 1, 0.7f, 0, 0.7f)};
    model.polygons = {
        mappedPolygon({0, 1, 2}, 0, {180, 140, 90, 255}, 0.1f, 0.4f, 0.9f, 0.4f),
        mappedPolygon({0, 1, 3, 2}, 1, {250, 250, 240, 255}, 0.0f, 0.25f, 0.0f, -0.25f),
        flatShaded(mappedPolygon({2, 3, 0}, -1, {20, 40, 60, 255}, 0.0f, 0.0f, 0.0f, 0.0f), 0.0, 0.0, 1.0),
    };
    return model;
}

}  // namespace zelvane::test
