// Writing a store in an output format the way the driver does, for the tests.
#pragma once

#include <optional>
#include <string>

#include "mesh/MeshStore.h"
#include "output/OutputError.h"
#include "format/FormatWriter.h"

namespace zelvane::test {

struct ModelWriting {
    std::optional<OutputError> failure;
    std::optional<size_t> count;  // what the format gave for its count line
};

// Writes a merged and grouped store through writer, with the images in
// textures, under basePath, and commits the outputs.
ModelWriting writeModel(const FormatWriter& writer, const MeshStore& store, const std::string& basePath,
                        const TextureFiles& textures = {});

}  // namespace zelvane::test
