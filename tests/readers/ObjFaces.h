// An OBJ file as tinyobjloader reads it, with the MTL library it names
// looked up in the OBJ file's folder.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zelvane::test {

struct ReadCorner {
    std::array<double, 3> position{};
    std::array<double, 3> normal{};
    std::optional<std::array<double, 2>> texcoord;
};

struct ReadMaterial {
    std::string name;
    std::array<double, 3> diffuse{};
    std::string diffuseTexture;  // map_Kd; "" when the material has none
};

struct ReadFace {
    std::vector<ReadCorner> corners;
    std::optional<ReadMaterial> material;  // none when the face uses no known material
};

struct ObjReading {
    std::vector<ReadFace> faces;  // in file order, polygons kept whole
    std::string error;            // the reader's error, or a corner it could not resolve
    std::string warning;          // the reader's warnings
};

ObjReading readObj(const std::string& objPath);

}  // namespace zelvane::test
