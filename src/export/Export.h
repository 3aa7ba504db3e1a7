#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "export/OutputSet.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// Merges and groups the store, then writes the OBJ file with one material
// section per group and the MTL library beside it, and prints
// "obj pcount: N" once the OBJ body is complete. Both files appear together
// or not at all; the error names the file that failed.
std::optional<OutputError> exportObj(MeshStore& store, const std::string& objPath, const std::string& mtlPath,
                                     std::ostream& console);

// Merges and groups the store, then writes the XML scene document and, in the
// same folder, one OBJ file per material group. All files appear together or
// not at all.
std::optional<OutputError> exportScene(MeshStore& store, const std::string& xmlPath);

// The writing halves of the two exports, for a store already merged and grouped.
std::optional<OutputError> writeObj(const MeshStore& store, const std::string& objPath, const std::string& mtlPath,
                                    std::ostream& console);
std::optional<OutputError> writeScene(const MeshStore& store, const std::string& xmlPath);

}  // namespace zelvane
