#pragma once

#include "GltfBufferLayout.h"
#include "GltfImages.h"
#include "GltfMesh.h"
#include "output/OutputFile.h"
#include "text/TextPieces.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// Writes the binary buffer as the layout has it, layout.length bytes: each
// vertex as it is first met going through the groups' corners, the
// indices, and the images when they are embedded. Numbers go in as the
// machine holds them, little-endian; nothing is formatted. A large mesh's
// vertices are made by two threads, with the same bytes.
void writeGltfBuffer(OutputFile& file, const MeshStore& store, const GltfMesh& mesh, const GltfImages& images,
                     const GltfBufferLayout& layout);

// The vertices of the buffer, a line of pieces per polygon, each vertex where
// its corner first comes.
void addVertexPieces(TextPieces& pieces, const MeshStore& store, const GltfMesh& mesh, size_t stride);

}  // namespace zelvane
