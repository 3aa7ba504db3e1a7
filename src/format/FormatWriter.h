// The interface every output format implements (FormatWriter), what it
// writes from (ModelOutput), and how it tells the count of its count line.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "mesh/MeshStore.h"
#include "output/OutputSet.h"
#include "textures/TextureFiles.h"

namespace zelvane {

// A merged and grouped store, the images found for its textures, and the
// path its outputs are named after, without their endings.
struct ModelOutput {
    const MeshStore& store;
    const TextureFiles& textures;
    std::string basePath;
};

// Called by a format once its main file is complete, with the number of
// polygons it holds.
using PolygonCount = std::function<void(size_t polygons)>;

// How the driver calls an output format: its writer, which adds its files to the outputs and
// returns false when one fails (the set's error says which and why), and,
// for a format that cannot hold every model, the check of a model just
// loaded into the store (its positions from firstPosition on): why it
// cannot be written, or nothing.
struct FormatWriter {
    bool (*write)(OutputSet& outputs, const ModelOutput& model, const PolygonCount& polygonCount) = nullptr;
    std::optional<std::string> (*refuseModel)(const MeshStore& store, size_t firstPosition) = nullptr;
};

}  // namespace zelvane
