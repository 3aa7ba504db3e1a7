#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "export/OutputSet.h"
#include "export/TextPieces.h"
#include "export/TextureFiles.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// Both writers take a store that has been merged and grouped, and only
// write. The write... calls add their files to a set of outputs that the
// caller commits, false when one fails (the set's error names it); the
// export... calls commit them at once, so that the files appear together or
// not at all. Large models are written by two threads (see TextPieces),
// with the same result; pieceSizes is for tests. A texture that has an image
// in textures is named by that image's file, the others as the model names
// them.

// The OBJ file with one material section per group and the MTL library
// beside it; prints "obj pcount: N" once the OBJ body is complete.
bool writeObj(OutputSet& outputs, const MeshStore& store, const TextureFiles& textures, const std::string& objPath,
              const std::string& mtlPath, std::ostream& console, const PieceSizes& pieceSizes = {});
std::optional<OutputError> exportObj(const MeshStore& store, const std::string& objPath, const std::string& mtlPath,
                                     std::ostream& console, const PieceSizes& pieceSizes = {});

// The XML scene document and, in the same folder, one OBJ file per material
// group.
bool writeScene(OutputSet& outputs, const MeshStore& store, const TextureFiles& textures,
                const std::string& xmlPath, const PieceSizes& pieceSizes = {});
std::optional<OutputError> exportScene(const MeshStore& store, const std::string& xmlPath,
                                       const PieceSizes& pieceSizes = {});

}  // namespace zelvane
