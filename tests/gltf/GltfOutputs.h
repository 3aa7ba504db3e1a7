// Writing glTF outputs the way the driver does, for the tests.
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <vector>

#include "Models.h"
#include "ModelWriting.h"
#include "TempFolder.h"
#include "gltf/GltfWriter.h"
#include "mesh/MeshStore.h"

namespace zelvane::test {

// The two forms of a glTF output: one binary file with everything embedded,
// or a JSON document with its buffer and images beside it.
enum class GltfForm { kBinary, kJson };

const FormatWriter& writerOf(GltfForm form);

// The models saved as MAG5 files in the folder and loaded into one store,
// merged and grouped.
MeshStore loadModels(const TempFolder& folder, const std::vector<Mag5ModelSpec>& models);

// Writes and commits the store as basePath + ".glb", or as ".gltf" with its
// ".bin" and the image files beside it; returns the document's path.
// Fails the test (and returns "") when the writer fails.
std::string writeGltfFiles(const MeshStore& store, const TextureFiles& textures, const std::string& basePath,
                           GltfForm form);

// The JSON document of a ".gltf" file, or the JSON chunk of a ".glb" file.
nlohmann::json documentOf(const std::string& path);

const char* formName(GltfForm form);

}  // namespace zelvane::test

namespace zelvane::test {

// For GoogleTest's messages.
inline void PrintTo(GltfForm form, std::ostream* out) {
    *out << formName(form);
}

}  // namespace zelvane::test
