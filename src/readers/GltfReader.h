#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "ModelRead.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// Whether a file's first bytes are those of a binary glTF file (.glb).
bool isGlb(std::span<const uint8_t> firstBytes);

// Reads a glTF 2.0 model, a .glb file or a .gltf document with the buffers
// it names in its folder, into the store: the triangles of every mesh its
// scene places (strips and fans as triangles), where the nodes put them,
// each under its material (see readMaterials). Normals as the file gives
// them, or each triangle's own. The images of the materials are noted in
// read's texture sources: the bytes of those the file holds, the names of
// the others. A file that needs an extension this reader lacks, or whose
// data does not add up, fails with words that say why.
ModelRead readGltfModel(const std::string& path, std::span<const uint8_t> bytes, MeshStore& store);

}  // namespace zelvane
