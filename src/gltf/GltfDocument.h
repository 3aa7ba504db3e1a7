#pragma once

#include <string>

#include "GltfBufferLayout.h"
#include "GltfImages.h"
#include "GltfMesh.h"
#include "text/TextBuffer.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// Everything a glTF document describes.
struct GltfDocumentParts {
    const MeshStore& store;
    const GltfMesh& mesh;
    const GltfImages& images;
    const GltfBufferLayout& layout;
    // The binary buffer's file, beside the document; empty when the buffer
    // is the one of a .glb file. Images are embedded in the buffer when the
    // layout has room for them, and named by their file names otherwise.
    std::string bufferFileName;
};

// Appends the JSON document: one scene of one node with one mesh, a
// primitive and a material per group. Materials are diffuse: the group's
// colour as base colour, no metal, fully rough, with the texture's image
// where there is one, sampled nearest for magnification and repeated. The
// colour's fourth channel goes into the material's extras as
// "colourChannel4". A material's name is its texture's name and the colour
// bytes, the same on every run.
void appendGltfDocument(TextBuffer& out, const GltfDocumentParts& parts);

}  // namespace zelvane
