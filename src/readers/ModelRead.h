// What reading a model in another tool's format (OBJ with its MTL, glTF)
// gives besides the mesh it adds to the store.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "mesh/TextureSource.h"

namespace zelvane {

struct ModelRead {
    std::string error;       // in plain words; empty when the whole model was read
    uint64_t faces = 0;      // the file's polygons, those left out included
    uint64_t triangles = 0;  // added to the store, a fan's triangles included
    uint64_t quads = 0;
    uint64_t leftOut = 0;  // faces of fewer than three corners, not added
    // Problems that do not stop the conversion, in plain words, such as a
    // material library that is not there.
    std::vector<std::string> warnings;
    std::map<uint32_t, TextureSource> textureSources;  // by store texture number
    std::vector<std::string> filesRead;  // besides the model: material libraries, buffers
};

}  // namespace zelvane
