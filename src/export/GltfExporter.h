#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "export/OutputSet.h"
#include "export/TextureFiles.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// The two forms of a glTF 2.0 output: one binary file with everything
// embedded, or a JSON document with its buffer in a file beside it.
enum class GltfForm { kBinary, kJson };

// Writes a merged and grouped store as glTF 2.0 into outputs: basePath +
// ".glb", or basePath + ".gltf" with basePath + ".bin". A textured group's
// material takes its texture's image when textures has one: embedded in a
// ".glb", named by its file name from a ".gltf" (the caller writes the image
// files beside it). Every position must be finite (the caller checks).
// Returns how many polygons kept a triangle, or nothing when an output
// fails: outputs.error() says which and why.
std::optional<size_t> exportGltf(OutputSet& outputs, const MeshStore& store, const TextureFiles& textures, const std::string& basePath,
                GltfForm form);

}  // namespace zelvane
