#pragma once

#include <string>
#include <string_view>

namespace zelvane {

// The model path up to the first "." of its file name, a leading "." of the
// file name not counting: models/ship.lod1.mag gives models/ship, and
// ../.hidden.mag gives ../.hidden. Without such a "." the whole path.
std::string baseNameOf(std::string_view modelPath);

// Where a model's outputs go, without their endings: beside the model, or,
// with an output folder, in it under the model's path relative to the
// folder it was found in (its file name when it was named itself).
std::string outputBaseFor(std::string_view modelPath, std::string_view outputFolder, std::string_view relativePath);

}  // namespace zelvane
