#include "RoundTripModels.h"

#include <array>
#include <cmath>
#include <random>

namespace zelvane::test {
namespace {

using Random = std::mt19937;

float uniform(Random& random, float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
}

uint32_t pick(Random& random, uint32_t count) {
    return static_cast<uint32_t>(random() % count);
}

std::array<float, 3> normalized(const std::array<double, 3>& v) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return {static_cast<float>(v[0] / length), static_cast<float>(v[1] / length), static_cast<float>(v[2] / length)};
}

// A random direction at unit length whose normalization in floats is itself.
std::array<float, 3> unitNormal(Random& random) {
    for (;;) {
        const std::array<float, 3> first =
            normalized({uniform(random, -1, 1), uniform(random, -1, 1), uniform(random, -1, 1)});
        const std::array<float, 3> again = normalized({first[0], first[1], first[2]});
        if (first == again && std::isfinite(first[0])) {
            return first;
        }
    }
}

const std::vector<std::string> kTextureNames{
    "brick.pcx", "TEX\\WOOD.PCX", "roof/tiles.png", "a_name_of_exactly_32_bytes__.pcx", "Grass.PCX"};

}  // namespace

Mag5ModelSpec randomRoundTripModel(uint32_t seed) {
    Random random(seed);
    Mag5ModelSpec model;
    const uint32_t textureCount = pick(random, 4);
    for (uint32_t k = 0; k < textureCount; ++k) {
        model.textures.push_back(kTextureNames[(seed + k) % kTextureNames.size()]);
    }
    const uint32_t vertexCount = 3 + pick(random, 30);
    for (uint32_t k = 0; k < vertexCount; ++k) {
        Mag5VertexSpec vertex;
        vertex.position = {uniform(random, -100, 100), uniform(random, -100, 100), uniform(random, -100, 100)};
        if (k > 0 && pick(random, 5) == 0) {
            vertex.position = model.vertices[pick(random, k)].position;  // another vertex's place
        }
        vertex.normal = unitNormal(random);
        model.vertices.push_back(vertex);
    }
    const uint32_t polygonCount = 1 + pick(random, 40);
    for (uint32_t k = 0; k < polygonCount; ++k) {
        Mag5PolygonSpec polygon;
        if (pick(random, 2) == 0) {
            polygon.flags = 1;
            const std::array<float, 3> normal = unitNormal(random);
            polygon.faceNormal = {normal[0], normal[1], normal[2]};
        }
        for (uint8_t& channel : polygon.colour) {
            channel = static_cast<uint8_t>(pick(random, 256));
        }
        polygon.textureIndex = static_cast<int32_t>(pick(random, textureCount + 1)) - 1;
        const uint32_t corners = 3 + pick(random, 2);
        for (uint32_t corner = 0; corner < corners; ++corner) {
            polygon.corners.push_back({pick(random, vertexCount), uniform(random, -2, 2), uniform(random, -2, 2)});
        }
        model.polygons.push_back(polygon);
    }
    return model;
}

}  // namespace zelvane::test
