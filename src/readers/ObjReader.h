#pragma once

#include <string>
#include <string_view>

#include "ModelRead.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// Reads an OBJ file's text, and the material libraries it names from its
// folder, into the store: every position, and every face with at least
// three corners (see addFace), under the material of its usemtl line. A
// material is its library's diffuse colour Kd, with 1 as the fourth
// channel, and its diffuse map map_Kd as the texture's name; a face without
// a known material is white and untextured. Texture coordinates are kept as
// the file has them. A corner that names a position, texture coordinate or
// normal the file does not have, or a position that is not a finite number,
// fails the read with words that say which.
ModelRead readObjModel(const std::string& path, std::string_view text, MeshStore& store);

}  // namespace zelvane
