// What a glTF reader must find in the converted outputs of MAG5 models,
// worked out from the models as they were written, and how the triangles it
// found are paired with them.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ExpectedFaces.h"
#include "GltfReaders.h"
#include "textures/TextureFiles.h"
#include "mesh/MeshStore.h"

namespace zelvane::test {

// The images a test gives the converter: texture name to image file.
// Several names may share one file (by file name).
using TextureImages = std::map<std::string, TextureFile>;

// A PNG image's file for the outputs, as the texture preparation makes one.
TextureFile pngTextureFile(const std::string& fileName, std::vector<uint8_t> bytes);

// The TextureFiles the driver would hand over for a store's textures: each
// distinct file once, each texture that images names pointing to its file.
TextureFiles textureFilesFor(const MeshStore& store, const TextureImages& images);

struct ExpectedTriangle {
    // Normals at unit length, a polygon's own where the model's has no
    // direction; texture coordinates (u, v counted from the image's top)
    // only where the polygon's texture has an image.
    std::array<ExpectedCorner, 3> corners;
    std::array<double, 4> colour{};  // the colour bytes over 255
    const TextureFile* image = nullptr;
    std::string origin;  // "model 2 polygon 5 triangle 1", for messages
};

// A triangle for every triangle of the models and two, (0, 1, 2) and
// (0, 2, 3), for every quad, in the models' order.
std::vector<ExpectedTriangle> expectedTriangles(const std::vector<Mag5ModelSpec>& models,
                                                const TextureImages& images);

// Pairs every triangle read with a distinct expected one that has the same
// corners (in the same turning order, from any corner on) and the same
// material: base colour, the fourth channel in the extras, no metal, fully
// rough, and the expected image's file name and bytes or no image. Returns
// the triangles left over on either side, or "" when there are none.
std::string unpairedTriangles(const std::vector<ExpectedTriangle>& expected, const GltfReading& reading);

// The triangles with three different positions: those that have an area.
std::vector<ExpectedTriangle> withArea(std::vector<ExpectedTriangle> triangles);

}  // namespace zelvane::test
