// Loading a model file of any format the converter reads, told by its
// content: MAG5 by its magic, binary glTF by its magic, a glTF document by
// being a JSON object, OBJ by its name's ".obj" ending. Anything else is
// taken for MAG5 and fails as a file that is not one.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mag5/LoadReport.h"
#include "mesh/MeshStore.h"
#include "mesh/TextureSource.h"

namespace zelvane {

enum class ModelFormat { kMag5, kGlb, kGltf, kObj };

ModelFormat detectModelFormat(std::span<const uint8_t> firstBytes, std::string_view path);

struct ModelLoad {
    std::string error;  // in plain words; empty when the model was loaded
    // The load report: MAG5's five lines, or for another format the last of
    // them, "pc: <faces> tpc:<triangles> qpc: <quads>".
    std::string report;
    uint64_t triangles = 0;
    uint64_t quads = 0;
    std::vector<std::string> warnings;  // in plain words, for the model's path
    std::map<uint32_t, TextureSource> textureSources;
    std::vector<std::string> filesRead;  // the model and every file it led to
};

// Loads the model at path into the store.
ModelLoad loadModel(const std::string& path, MeshStore& store);

}  // namespace zelvane
