#include "ExpectedFaces.h"

#include <algorithm>

namespace zelvane::test {
namespace {

std::array<double, 3> widened(const std::array<float, 3>& values) {
    return {values[0], values[1], values[2]};
}

std::optional<std::string> imageOf(const Mag5ModelSpec& model, int32_t textureIndex) {
    if (textureIndex == -1) {
        return "";
    }
    if (textureIndex < 0 || static_cast<size_t>(textureIndex) >= model.textures.size()) {
        return std::nullopt;
    }
    // A name is at most 32 bytes, cut at the first NUL.
    const std::string& name = model.textures[static_cast<size_t>(textureIndex)];
    return name.substr(0, std::min(name.find('\0'), size_t{32}));
}

ExpectedCorner cornerOf(const Mag5ModelSpec& model, const Mag5PolygonSpec& polygon, const Mag5CornerSpec& corner,
                        bool textured) {
    const Mag5VertexSpec& vertex = model.vertices.at(corner.vertex);
    ExpectedCorner expected;
    expected.position = widened(vertex.position);
    expected.normal = (polygon.flags & 1) != 0 ? polygon.faceNormal : widened(vertex.normal);
    if (textured) {
        expected.texcoord = std::array<double, 2>{corner.u, 1.0 - static_cast<double>(corner.v)};
    }
    return expected;
}

ExpectedFace faceOf(const Mag5ModelSpec& model, const Mag5PolygonSpec& polygon) {
    ExpectedFace face;
    face.image = imageOf(model, polygon.textureIndex);
    // An empty name is no texture at all, in or out of the table.
    const bool textured = face.image != "";
    for (const Mag5CornerSpec& corner : polygon.corners) {
        face.corners.push_back(cornerOf(model, polygon, corner, textured));
    }
    for (size_t channel = 0; channel < face.diffuse.size(); ++channel) {
        face.diffuse[channel] = polygon.colour[channel] / 255.0;
    }
    return face;
}

}  // namespace

std::vector<ExpectedFace> expectedFaces(const std::vector<Mag5ModelSpec>& models) {
    std::vector<ExpectedFace> faces;
    for (size_t m = 0; m < models.size(); ++m) {
        for (size_t p = 0; p < models[m].polygons.size(); ++p) {
            const Mag5PolygonSpec& polygon = models[m].polygons[p];
            if (polygon.corners.size() != 3 && polygon.corners.size() != 4) {
                continue;
            }
            faces.push_back(faceOf(models[m], polygon));
            faces.back().origin = "model " + std::to_string(m + 1) + " polygon " + std::to_string(p);
        }
    }
    return faces;
}

}  // namespace zelvane::test
