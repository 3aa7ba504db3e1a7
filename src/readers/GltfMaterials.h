// glTF materials as the store's materials: a texture name and a colour.
#pragma once

#include <string>
#include <vector>

#include "ModelRead.h"
#include "TinyGltf.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// The store material of every material of the model, and, last, of a
// primitive without one (white, untextured); the texture names are added
// to the store, and the images they come from noted in read. Empty with
// error set when a material refers to a texture or an image the file does
// not have.
//
// A material is its base colour factor's red, green and blue, with the
// fourth channel from its extras' "colourChannel4" (1 without). A material
// named as this converter names them, "<texture> #rrggbbaa" (Blender may
// add ".001"), gives back its texture's name, and a channel whose value
// rounds to the name's byte is that byte exactly, as a MAG5 file gives it.
// Otherwise a texture is named after its image: the file an image's URI
// names, or, for an image the file holds, the image's name ending in
// ".pcx".
std::vector<Material> readMaterials(const tinygltf::Model& model, MeshStore& store, ModelRead& read,
                                    std::string& error);

}  // namespace zelvane
