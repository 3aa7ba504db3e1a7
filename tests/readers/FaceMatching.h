// Pairs the faces a reader found with the faces the models must give.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ExpectedFaces.h"
#include "ObjFaces.h"

namespace zelvane::test {

// Coordinates are written with six decimals: a value read back lies within
// half a unit of the last decimal of the model's value.
inline constexpr double kSixDecimals = 0.5e-6 + 1e-9;
inline constexpr double kColourTolerance = 1e-6;

// The same corners in the same order: positions, normals and texture
// coordinates within kSixDecimals, and texture coordinates on both or neither.
bool sameCorners(const ExpectedFace& expected, const ReadFace& read);
// The diffuse colour within kColourTolerance and the texture image named by
// map_Kd: the expected image, or none for an untextured face or one whose
// texture number lies outside its file's table.
bool sameMaterial(const ExpectedFace& expected, const ReadMaterial& material);

// Further conditions a pair must meet, by expected and read face index.
using PairCondition = std::function<bool(size_t expected, size_t read)>;

struct FacePairing {
    std::vector<size_t> expectedOfRead;  // per read face, the expected face it stands for
    std::string problems;                // unpaired faces on either side, one per line; "" when none
};

// Gives every read face a distinct expected face with the same corners that
// meets the condition, and reports the faces left over on either side.
FacePairing pairFaces(const std::vector<ExpectedFace>& expected, const std::vector<ReadFace>& read,
                      const PairCondition& condition);

}  // namespace zelvane::test
