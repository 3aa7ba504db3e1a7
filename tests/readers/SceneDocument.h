// A scene document as libxml2 parses it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zelvane::test {

struct SceneObject {
    std::string type;
    std::string href;    // the "href" parameter: the mesh file
    std::string shader;  // the "surfaceshader" parameter
};

struct SceneDocument {
    std::string error;  // why the document is not well formed, or "" when it is
    std::string rootName;
    // Every SurfaceShader by name: the href of its ImageTexture, or none
    // when its Reflectance holds no ImageTexture.
    std::map<std::string, std::optional<std::string>> shaderImages;
    size_t shaderCount = 0;  // SurfaceShader elements, duplicates of a name included
    std::vector<SceneObject> objects;
};

SceneDocument readScene(const std::string& path);

}  // namespace zelvane::test
