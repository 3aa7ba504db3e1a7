// OBJ files with their MTL libraries read into the store: the faces as they
// come, fans for faces of more corners, and hostile files refused with
// words that say where.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Files.h"
#include "TempFolder.h"
#include "readers/ObjReader.h"

namespace zelvane {
namespace {

using test::TempFolder;
using test::writeFile;

struct ObjCase {
    std::string name;
    std::string obj;
    std::string mtl;  // written as a.mtl beside the OBJ file when not empty
};

ModelRead readIn(const TempFolder& folder, const ObjCase& file, MeshStore& store) {
    if (!file.mtl.empty()) {
        writeFile(folder.file("a.mtl"), file.mtl);
    }
    return readObjModel(folder.file("m.obj"), file.obj, store);
}

constexpr const char* kSquare = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0.5 1.5 0\n";

TEST(ObjReader, FacesOfEveryCornerCountAndWhatTheyCarry) {
    TempFolder folder;
    MeshStore store;
    const std::string obj = std::string("mtllib a.mtl\n") + kSquare +
                            "vt 0.25 0.75\nvn 0 0 1\n"
                            "usemtl brick\nf 1/1/1 2/1/1 3/1/1\n"  // a textured triangle
                            "f 1 2 3 4\n"                          // a quad of the same material, no vt or vn
                            "usemtl plain\nf -5 -4 -3 -1 -2\n"     // a pentagon of relative indices
                            "f 1 2\n";                             // too few corners
    const ModelRead read = readIn(folder, {"all", obj, "newmtl brick\nKd 0.5 0.25 1\nmap_Kd tex\\b.pcx\n"
                                                      "newmtl plain\nKd 1 0 0\n"},
                                  store);
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.faces, 4u);
    EXPECT_EQ(read.quads, 1u);
    EXPECT_EQ(read.triangles, 4u);  // one, and the pentagon's three
    EXPECT_EQ(read.leftOut, 1u);
    ASSERT_EQ(store.polygons.size(), 5u);
    EXPECT_EQ(store.positions.size(), 5u);
    ASSERT_EQ(store.textures.size(), 2u);
    EXPECT_EQ(store.textures[1], "tex\\b.pcx");

    const Polygon textured = store.polygons[0];
    EXPECT_EQ(textured.material.texture, 1u);
    EXPECT_EQ(textured.material.colour, (std::array<double, 4>{0.5, 0.25, 1.0, 1.0}));
    EXPECT_DOUBLE_EQ(store.texcoords[textured.texcoord[2]].y, 0.75);  // as the OBJ file counts v
    EXPECT_EQ(store.normals[textured.normal[0]].z, 1.0);

    const Polygon quad = store.polygons[1];  // no normals given: the face's own, at unit length
    EXPECT_EQ(quad.cornerCount, 4u);
    EXPECT_EQ(store.normals[quad.normal[3]].z, 1.0);

    const Polygon firstOfFan = store.polygons[2];  // corners 0 1 2 of the pentagon
    const Polygon lastOfFan = store.polygons[4];   // corners 0 3 4
    EXPECT_EQ(firstOfFan.material.colour[0], 1.0);
    EXPECT_FALSE(firstOfFan.material.textured());
    EXPECT_EQ(lastOfFan.vertex[0], 0u);
    EXPECT_EQ(lastOfFan.vertex[1], 4u);
    EXPECT_EQ(lastOfFan.vertex[2], 3u);
}

TEST(ObjReader, AFaceWithoutAKnownMaterialIsWhiteAndUntextured) {
    TempFolder folder;
    MeshStore store;
    const ModelRead read = readIn(folder, {"none", std::string(kSquare) + "usemtl nowhere\nf 1 2 3\n", ""}, store);
    ASSERT_EQ(read.error, "");
    const Polygon polygon = store.polygons[0];
    EXPECT_FALSE(polygon.material.textured());
    EXPECT_EQ(polygon.material.colour, (std::array<double, 4>{1.0, 1.0, 1.0, 1.0}));
}

// Libraries are read from the OBJ file's folder only; any other leaves a
// warning and the faces without their materials.
TEST(ObjReader, MaterialLibrariesOutsideTheFolderAreNotRead) {
    for (const std::string library : {"../a.mtl", "/etc/passwd", "missing.mtl", "sub/../../a.mtl"}) {
        TempFolder folder;
        MeshStore store;
        writeFile(folder.file("a.mtl"), "newmtl x\nKd 0 1 0\n");
        const ModelRead read = readObjModel(folder.file("m.obj"), "mtllib " + library + "\nv 0 0 0\nf 1 1 1\n", store);
        ASSERT_EQ(read.error, "") << library;
        ASSERT_EQ(read.warnings.size(), 1u) << library;
        EXPECT_EQ(read.warnings[0].rfind("material library " + library + ": ", 0), 0u) << read.warnings[0];
        EXPECT_TRUE(read.filesRead.empty());
    }
}

TEST(ObjReader, HostileFilesFailWithWordsThatSayWhere) {
    std::string hugeFace = "v 0 0 0\nf";
    for (int k = 0; k < 300; ++k) {
        hugeFace += " 1";
    }
    const std::vector<std::pair<std::string, std::string>> cases{
        {"v 0 0 0\nf 1 2 1\n", "face 0 refers to vertex 2, but the file has 1 vertices"},
        {"v 0 0 0\nf 1 1 -5\n", "face 0 refers to vertex -3, but the file has 1 vertices"},
        {"v 0 0 0\nvn 0 0 1\nf 1//1 1//2 1//1\n", "face 0 refers to normal 2, but the file has 1 normals"},
        {"v 0 0 0\nf 1/1 1/1 1/1\n", "face 0 refers to texture coordinate 1, but the file has 0 texture coordinates"},
        {hugeFace + "\n", "a face has more than 255 corners"},
        {"v 0 0 1e999\nf 1 1 1\n", "vertex 0 has a position that is not a finite number"},
    };
    for (const auto& [obj, words] : cases) {
        TempFolder folder;
        MeshStore store;
        EXPECT_EQ(readObjModel(folder.file("m.obj"), obj, store).error, words) << obj;
    }
}

}  // namespace
}  // namespace zelvane
