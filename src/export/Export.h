#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "export/OutputSet.h"
#include "export/TextPieces.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// Both writers take a store that has been merged and grouped, and only
// write: the files appear together or not at all, and the error names the
// file that failed. Large models are written by two threads (see
// TextPieces), with the same result; pieceSizes is for tests.

// Writes the OBJ file with one material section per group and the MTL
// library beside it, and prints "obj pcount: N" once the OBJ body is complete.
std::optional<OutputError> exportObj(const MeshStore& store, const std::string& objPath, const std::string& mtlPath,
                                     std::ostream& console, const PieceSizes& pieceSizes = {});

// Writes the XML scene document and, in the same folder, one OBJ file per
// material group.
std::optional<OutputError> exportScene(const MeshStore& store, const std::string& xmlPath,
                                       const PieceSizes& pieceSizes = {});

}  // namespace zelvane
