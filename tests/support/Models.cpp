#include "Models.h"

#include <stdexcept>

namespace zelvane::test {

Mag5VertexSpec vertexAt(float x, float y, float z, float nx, float ny, float nz) {
    return Mag5VertexSpec{{x, y, z}, {nx, ny, nz}};
}

Mag5PolygonSpec polygonOver(const std::vector<uint32_t>& vertices, int32_t textureIndex) {
    Mag5PolygonSpec polygon;
    polygon.textureIndex = textureIndex;
    for (size_t k = 0; k < vertices.size(); ++k) {
        polygon.corners.push_back({vertices[k], static_cast<float>(k) / 4.0f, static_cast<float>(k) / 8.0f});
    }
    return polygon;
}

Mag5PolygonSpec flatPolygonOver(const std::vector<uint32_t>& vertices, int32_t textureIndex, double nx, double ny,
                                double nz) {
    Mag5PolygonSpec polygon = polygonOver(vertices, textureIndex);
    polygon.flags = 1;
    polygon.faceNormal = {nx, ny, nz};
    return polygon;
}

Mag5ModelSpec smallModel() {
    Mag5ModelSpec model;
    model.textures = {"brick.pcx", "roof.pcx"};
    model.vertices = {vertexAt(0, 0, 0), vertexAt(1, 0, 0), vertexAt(1, 1, 0), vertexAt(0, 1, 0)};
    Mag5PolygonSpec triangle = polygonOver({0, 1, 2}, 1);
    triangle.colour = {255, 128, 0, 255};
    Mag5PolygonSpec quad = flatPolygonOver({0, 1, 2, 3}, -1, 0, 0, 1);
    quad.colour = {0, 0, 255, 255};
    model.polygons = {triangle, quad};
    return model;
}

void saveModel(const Mag5ModelSpec& model, const std::string& path) {
    if (!tools::saveMag5(model, path)) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace zelvane::test
