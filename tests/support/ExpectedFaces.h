// What a reader must find in the converted outputs of MAG5 models, worked out
// from the models as they were written, without the converter's help.
#pragma once

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "Models.h"

namespace zelvane::test {

// Whether every component of a differs from b's by at most tolerance.
template <size_t N>
bool withinTolerance(const std::array<double, N>& a, const std::array<double, N>& b, double tolerance) {
    for (size_t k = 0; k < N; ++k) {
        if (!(std::abs(a[k] - b[k]) <= tolerance)) {
            return false;
        }
    }
    return true;
}

struct ExpectedCorner {
    std::array<double, 3> position{};
    std::array<double, 3> normal{};  // the face normal when flat shaded, else the vertex normal
    std::optional<std::array<double, 2>> texcoord;  // (u, 1 - v), only on textured faces
};

struct ExpectedFace {
    std::vector<ExpectedCorner> corners;
    std::array<double, 3> diffuse{};  // the colour bytes over 255
    // The texture name: "" when untextured, none when the polygon's texture
    // number lies outside its file's table (textured, but without an image).
    std::optional<std::string> image;
    std::string origin;  // "model 2 polygon 5", for messages
};

// The faces that the models, loaded in this order on one command line, must
// give: one per triangle or quad, none for polygons of other corner counts.
// Each model's vertex indices and texture numbers refer to its own tables.
std::vector<ExpectedFace> expectedFaces(const std::vector<Mag5ModelSpec>& models);

}  // namespace zelvane::test
