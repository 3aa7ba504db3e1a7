#pragma once

#include <string>
#include <string_view>

namespace zelvane {

struct OutputPaths {
    std::string obj;
    std::string mtl;
    std::string xml;
};

// The model path up to the first "." of its file name, a leading "." of the
// file name not counting: models/ship.lod1.mag gives models/ship, and
// ../.hidden.mag gives ../.hidden. Without such a "." the whole path.
std::string baseNameOf(std::string_view modelPath);

// The base name with ".obj", ".mtl" and ".xml" appended.
OutputPaths outputPathsFor(std::string_view modelPath);

}  // namespace zelvane
