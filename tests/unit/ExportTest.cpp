#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "Files.h"
#include "GroupIds.h"
#include "TempFolder.h"
#include "ModelWriting.h"
#include "obj/ObjWriter.h"
#include "obj/VertexLines.h"
#include "scene/SceneWriter.h"
#include "obj/FaceLine.h"

namespace zelvane {
namespace {

using namespace test;

std::string faceLine(const Polygon& polygon) {
    TextBuffer out;
    appendFaceLine(out, polygon);
    return std::string(out.view());
}

TEST(FaceLine, TexturedUntexturedAndQuad) {
    Polygon triangle{3, {0, 1, 2, 0}, {3, 3, 3, 0}, {5, 6, 7, 0}, Material{1, {}}};
    EXPECT_EQ(faceLine(triangle), "f 1/6/4 2/7/4 3/8/4 \n");
    triangle.material.texture = 0;
    EXPECT_EQ(faceLine(triangle), "f 1//4 2//4 3//4 \n");
    const Polygon quad{4, {9, 0, 4294967294u, 3}, {0, 1, 2, 3}, {0, 0, 0, 0}, Material{kTextureMissing, {}}};
    EXPECT_EQ(faceLine(quad), "f 10/1/1 1/1/2 4294967295/1/3 4/1/4 \n");
}

// Two textured groups sharing a texture, an untextured group, and a group
// whose texture the model does not have.
MeshStore storeWithFourGroups(uint32_t secondTexture = 1) {
    MeshStore store;
    store.addTexture("wood.pcx");
    store.addVertex({0, 0, 0}, {0, 0, 1});
    store.addVertex({1, 0, 0}, {0, 0, 1});
    store.addVertex({1, 1, 0}, {0, 0, 1});
    store.addVertex({1, 0, 0}, {0, 0, 1});  // same as vertex 1: merged
    store.addTriangle({0, 1, 2}, Material{1, {0.5, 0.25, 1.0, 1.0}}, {0, 1, 1}, {0, 0, 1});
    store.addTriangle({2, 3, 0}, Material{secondTexture, {1.0, 0.25, 1.0, 1.0}}, {1, 1, 0}, {1, 0, 0});
    const std::array<Vector3, 4> up{{{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}}};
    store.addQuad({0, 1, 2, 3}, Material{0, {0.0, 0.0, 0.0, 1.0}}, {}, {}, &up);
    store.addTriangle({0, 2, 1}, Material{kTextureMissing, {0.2, 0.2, 0.2, 1.0}}, {0.5, 0.5, 0.5}, {0.5, 0.5, 0.5});
    store.mergeDuplicates();
    store.groupByMaterial();
    return store;
}

TEST(ExportObj, WritesWholeObjAndMtlFiles) {
    TempFolder folder;
    MeshStore store = storeWithFourGroups();
    const ModelWriting written = writeModel(kObjWriter, store, folder.file("m"));
    ASSERT_FALSE(written.failure) << written.failure->reason;
    EXPECT_EQ(written.count, std::optional<size_t>(4));
    GroupIdNames ids;
    EXPECT_EQ(ids.replaceIn(readFile(folder.file("m.obj"))),
              "mtllib m.mtl\n\n"
              "v 0.000000 0.000000 0.000000\nv 1.000000 0.000000 0.000000\nv 1.000000 1.000000 0.000000\n"
              "vt 0.000000 0.000000 0.000000\nvt 1.000000 0.000000 0.000000\nvt 1.000000 1.000000 0.000000\n"
              "vt 0.500000 0.500000 0.000000\n"
              "vn 0.000000 0.000000 1.000000\nvn 0.000000 1.000000 0.000000\n"
              "\n"
              "\nusemtl tex<G1>\n\nf 1//2 2//2 3//2 2//2 \n"
              "\nusemtl tex<G2>\n\nf 1/1/1 2/2/1 3/3/1 \n"
              "\nusemtl tex<G3>\n\nf 3/3/1 2/2/1 1/1/1 \n"
              "\nusemtl tex<G4>\n\nf 1/4/1 3/4/1 2/4/1 \n");
    EXPECT_EQ(ids.replaceIn(readFile(folder.file("m.mtl"))),
              "newmtl default\n  Ka 1.0 1.0 1.0\n  Kd 0.5 0.5 0.5\n  Ks 0.1 0.1 0.1\n  illum 2\n  Ns 200.0\n"
              "\nnewmtl tex<G1>\n\n  d 1\n  Ka 0.1 0.1 0.1\n  Kd 0.000000 0.000000 0.000000\n"
              "  Ks 0.0 0.0 0.0\n  illum 0\n  Ns 0.0\n\n"
              "\nnewmtl tex<G2>\n\n  d 1\n  Ka 0.1 0.1 0.1\n  Kd 0.500000 0.250000 1.000000\n"
              "  Ks 0.0 0.0 0.0\n  illum 0\n  Ns 0.0\n       map_Kd wood.pcx\n\n"
              "\nnewmtl tex<G3>\n\n  d 1\n  Ka 0.1 0.1 0.1\n  Kd 1.000000 0.250000 1.000000\n"
              "  Ks 0.0 0.0 0.0\n  illum 0\n  Ns 0.0\n       map_Kd wood.pcx\n\n"
              "\nnewmtl tex<G4>\n\n  d 1\n  Ka 0.1 0.1 0.1\n  Kd 0.200000 0.200000 0.200000\n"
              "  Ks 0.0 0.0 0.0\n  illum 0\n  Ns 0.0\n\n");
    EXPECT_EQ(ids.count(), 4u);
}

TEST(ExportObj, EmptyModel) {
    TempFolder folder;
    MeshStore store;
    store.addVertex({1, 2, 3}, {0, 0, 1});
    const ModelWriting written = writeModel(kObjWriter, store, folder.file("e"));
    ASSERT_FALSE(written.failure);
    EXPECT_EQ(written.count, std::optional<size_t>(0));
    EXPECT_EQ(readFile(folder.file("e.obj")), "mtllib e.mtl\n\nv 1.000000 2.000000 3.000000\nvn 0.000000 0.000000 1.000000\n\n");
    EXPECT_EQ(readFile(folder.file("e.mtl")),
              "newmtl default\n  Ka 1.0 1.0 1.0\n  Kd 0.5 0.5 0.5\n  Ks 0.1 0.1 0.1\n  illum 2\n  Ns 200.0\n");
}

TEST(ExportScene, WritesSceneAndOneMeshPerGroupBesideIt) {
    TempFolder folder;
    MeshStore store = storeWithFourGroups(2);
    store.addTexture("a&b<\"c\">'.pcx");
    ASSERT_FALSE(writeModel(kSceneWriter, store, folder.file("s")).failure);
    GroupIdNames ids;
    const std::string scene = ids.replaceIn(readFile(folder.file("s.xml")));
    EXPECT_EQ(scene,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<QuazoScene xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
              "xsi:noNamespaceSchemaLocation=\"../../schemas/quazoscene.xsd\">\n"
              "\t<Frame>\n"
              "\n\t\t\t<SurfaceShader name=\"<G1>\">\n\t\t\t\t<Reflectance>\n"
              "\t\t\t\t\t<ImageTexture href=\"\"/>\n\t\t\t\t</Reflectance>\n\t\t\t</SurfaceShader>\n\n"
              "\n\t\t\t<SurfaceShader name=\"<G2>\">\n\t\t\t\t<Reflectance>\n"
              "\t\t\t\t\t<ImageTexture href=\"wood.pcx\"/>\n\t\t\t\t</Reflectance>\n\t\t\t</SurfaceShader>\n\n"
              "\n\t\t\t<SurfaceShader name=\"<G3>\">\n\t\t\t\t<Reflectance>\n"
              "\t\t\t\t\t<ImageTexture href=\"a&amp;b&lt;&quot;c&quot;&gt;&apos;.pcx\"/>\n"
              "\t\t\t\t</Reflectance>\n\t\t\t</SurfaceShader>\n\n"
              "\n\t\t\t<SurfaceShader name=\"<G4>\">\n\t\t\t\t<Reflectance>\n"
              "\t\t\t\t</Reflectance>\n\t\t\t</SurfaceShader>\n\n"
              "\n\t\t\t<Object type=\"mesh\">\n\t\t\t\t<Parameter name=\"href\" value=\"<G1>.obj\"/>\n"
              "\t\t\t\t<Parameter name=\"surfaceshader\" value=\"<G1>\"/>\n\t\t\t</Object>\n\n"
              "\n\t\t\t<Object type=\"mesh\">\n\t\t\t\t<Parameter name=\"href\" value=\"<G2>.obj\"/>\n"
              "\t\t\t\t<Parameter name=\"surfaceshader\" value=\"<G2>\"/>\n\t\t\t</Object>\n\n"
              "\n\t\t\t<Object type=\"mesh\">\n\t\t\t\t<Parameter name=\"href\" value=\"<G3>.obj\"/>\n"
              "\t\t\t\t<Parameter name=\"surfaceshader\" value=\"<G3>\"/>\n\t\t\t</Object>\n\n"
              "\n\t\t\t<Object type=\"mesh\">\n\t\t\t\t<Parameter name=\"href\" value=\"<G4>.obj\"/>\n"
              "\t\t\t\t<Parameter name=\"surfaceshader\" value=\"<G4>\"/>\n\t\t\t</Object>\n\n"
              "\t</Frame>\n</QuazoScene>\n");
    const std::string vertexLines =
        "v 0.000000 0.000000 0.000000\nv 1.000000 0.000000 0.000000\nv 1.000000 1.000000 0.000000\n"
        "vt 0.000000 0.000000 0.000000\nvt 1.000000 0.000000 0.000000\nvt 1.000000 1.000000 0.000000\n"
        "vt 0.500000 0.500000 0.000000\n"
        "vn 0.000000 0.000000 1.000000\nvn 0.000000 1.000000 0.000000\n";
    const auto files = folderContents(folder.path());
    ASSERT_EQ(files.size(), 5u);
    std::map<std::string, std::string> meshes;
    for (const auto& [name, text] : files) {
        if (name != "s.xml") meshes[ids.replaceIn(name)] = text;
    }
    const std::string head = "mtllib s.xml\n\n" + vertexLines + "\n";
    EXPECT_EQ(meshes["<G1>.obj"], head + "f 1//2 2//2 3//2 2//2 \n");
    EXPECT_EQ(meshes["<G2>.obj"], head + "f 1/1/1 2/2/1 3/3/1 \n");
    EXPECT_EQ(meshes["<G3>.obj"], head + "f 3/3/1 2/2/1 1/1/1 \n");
    EXPECT_EQ(meshes["<G4>.obj"], head + "f 1/4/1 3/4/1 2/4/1 \n");
}

// Thousands of vertex and face lines of every kind, in several groups.
MeshStore storeOfManyLines() {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-100.0f, 100.0f);
    auto pick = [&] { return double(coordinate(random)); };
    MeshStore store;
    store.addTexture("wood.pcx");
    constexpr uint32_t kVertices = 2000;
    for (uint32_t i = 0; i < kVertices; ++i) store.addVertex({pick(), pick(), pick()}, {pick(), pick(), pick()});
    for (uint32_t i = 0; i < 3000; ++i) {
        auto corner = [&] { return static_cast<uint32_t>(random() % kVertices); };
        const Material material{static_cast<uint32_t>(random() % 2), {0.25 * static_cast<double>(random() % 3), 0.5, 1.0, 1.0}};
        const Vector3 face{pick(), pick(), pick()};
        const std::array<Vector3, 4> flat{face, face, face, face};
        if (i % 3 == 0) {
            store.addTriangle({corner(), corner(), corner()}, material, {pick(), pick(), pick()}, {pick(), pick(), pick()});
        } else {
            store.addQuad({corner(), corner(), corner(), corner()}, material, {pick(), pick(), pick(), pick()},
                          {pick(), pick(), pick(), pick()}, i % 3 == 1 ? &flat : nullptr);
        }
    }
    store.mergeDuplicates();
    store.groupByMaterial();
    return store;
}

// In pieces of 97 lines, formatted by two threads: the OBJ text is the same,
// byte for byte, as the one thread writes for a model of this size. (The
// scene's mesh files are made of the same vertex and face lines.)
TEST(ExportInPieces, TwoThreadsFormatWhatOneWrites) {
    const MeshStore store = storeOfManyLines();
    ASSERT_GT(PieceSizes{}.helperLines, store.positions.size() + store.texcoords.size() + store.normals.size() + 3000);
    TempFolder folder;
    ASSERT_FALSE(writeModel(kObjWriter, store, folder.file("m")).failure);
    const std::string written = readFile(folder.file("m.obj"));
    ASSERT_GT(written.size(), 200000u);
    TextPieces pieces(PieceSizes{97, 0});
    pieces.addText("mtllib m.mtl\n\n");
    addVertexLines(pieces, store);
    pieces.addText("\n");
    for (const auto& group : store.groups) {
        TextBuffer line;
        line.append("\nusemtl tex");
        line.appendHex(groupId(group));
        line.append("\n\n");
        pieces.addText(std::string(line.view()));
        addFaceLines(pieces, store.polygons, group.second);
    }
    std::string formatted;
    pieces.write([&formatted](std::string_view text) { formatted += text; });
    EXPECT_TRUE(formatted == written);
}

TEST(ExportScene, EmptyModelHasOnlyTheFrame) {
    TempFolder folder;
    MeshStore store;
    ASSERT_FALSE(writeModel(kSceneWriter, store, folder.file("e")).failure);
    EXPECT_EQ(readFile(folder.file("e.xml")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<QuazoScene xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
              "xsi:noNamespaceSchemaLocation=\"../../schemas/quazoscene.xsd\">\n"
              "\t<Frame>\n\t</Frame>\n</QuazoScene>\n");
    EXPECT_EQ(folderContents(folder.path()).size(), 1u);
}

}  // namespace
}  // namespace zelvane
