// The glTF writer's text and layout rules, on stores built for each rule.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>
#include <tuple>

#include "Files.h"
#include "GltfFaces.h"
#include "GltfModels.h"
#include "GltfOutputs.h"
#include "GltfReaders.h"
#include "TinyPng.h"
#include "ModelWriting.h"
#include "gltf/GltfBufferWriter.h"

namespace zelvane::test {
namespace {

using nlohmann::json;

// A strip of smooth triangles (k, k + 1, k + 2) over vertexCount vertices
// of their own, untextured.
MeshStore stripStore(uint32_t vertexCount) {
    MeshStore store;
    for (uint32_t k = 0; k < vertexCount; ++k) {
        store.addVertex({static_cast<double>(k), static_cast<double>(k % 2), 0.0}, {0.0, 0.0, 1.0});
    }
    for (uint32_t k = 0; k + 2 < vertexCount; ++k) {
        store.addTriangle({k, k + 1, k + 2}, Material{0, {0.5, 0.5, 0.5, 1.0}}, {}, {});
    }
    store.mergeDuplicates();
    store.groupByMaterial();
    return store;
}

// 16-bit indices while the largest index is at most 65534: 65535 means a
// strip restarts there.
TEST(GltfExport, IndexWidthFollowsTheLargestIndex) {
    TempFolder folder;
    for (const auto& [vertexCount, componentType] : {std::pair{65535u, 5123u}, std::pair{65536u, 5125u}}) {
        const std::string path =
            writeGltfFiles(stripStore(vertexCount), {}, folder.file(std::to_string(vertexCount)), GltfForm::kJson);
        const json document = documentOf(path);
        EXPECT_EQ(document["accessors"][0]["count"], vertexCount);
        EXPECT_EQ(document["accessors"][2]["componentType"], componentType);
        const ValidatorReport report = validateGltf(path);
        EXPECT_EQ(report.status, 0) << report.text;
    }
}

uint32_t wordAt(const std::string& bytes, size_t offset) {
    uint32_t word = 0;
    std::memcpy(&word, bytes.data() + offset, 4);
    return word;
}

TEST(GltfExport, GlbChunksArePaddedToFourBytes) {
    TempFolder folder;
    const TextureImages images{{"a.pcx", pngTextureFile("a.png", solidPng(1, 1, {1, 2, 3}))}};
    MeshStore store;
    store.addTexture("a.pcx");
    store.addVertex({0, 0, 0}, {0, 0, 1});
    store.addVertex({1, 0, 0}, {0, 0, 1});
    store.addVertex({0, 1, 0}, {0, 0, 1});
    store.addTriangle({0, 1, 2}, Material{1, {1, 1, 1, 1}}, {0, 1, 0}, {0, 0, 1});
    store.mergeDuplicates();
    store.groupByMaterial();
    const std::string bytes =
        readFile(writeGltfFiles(store, textureFilesFor(store, images), folder.file("m"), GltfForm::kBinary));
    ASSERT_GE(bytes.size(), 28u);
    EXPECT_EQ(bytes.substr(0, 4), "glTF");
    EXPECT_EQ(wordAt(bytes, 4), 2u);
    EXPECT_EQ(wordAt(bytes, 8), bytes.size());
    const uint32_t jsonLength = wordAt(bytes, 12);
    EXPECT_EQ(bytes.substr(16, 4), "JSON");
    EXPECT_EQ(jsonLength % 4, 0u);
    const std::string document = bytes.substr(20, jsonLength);
    EXPECT_EQ(document.find_last_not_of(' '), document.rfind('}') + 1);  // the text's last line end, then blanks
    const size_t bin = 20 + jsonLength;
    const uint32_t binLength = wordAt(bytes, bin);
    EXPECT_EQ(bytes.substr(bin + 4, 4), std::string("BIN\0", 4));
    EXPECT_EQ(binLength % 4, 0u);
    EXPECT_EQ(bin + 8 + binLength, bytes.size());
    const json parsed = json::parse(document);
    EXPECT_EQ(parsed["buffers"][0]["byteLength"], binLength);
    EXPECT_FALSE(parsed["buffers"][0].contains("uri"));
    // The 3 x 2 indices end 2 bytes short of a multiple of 4: zeros follow.
    const json& indexView = parsed["bufferViews"][1];
    EXPECT_EQ(indexView["byteLength"], 6);
    const size_t indexEnd = bin + 8 + indexView["byteOffset"].get<size_t>() + 6;
    EXPECT_EQ(bytes.substr(indexEnd, 2), std::string(2, '\0'));
    EXPECT_EQ(validateGltf(folder.file("m.glb")).status, 0);
}

// A cube of six flat quads in two materials: 24 vertices, four per face,
// in one set of attributes.
TEST(GltfExport, PrimitivesShareOneSetOfVertices) {
    MeshStore store;
    for (int k = 0; k < 8; ++k) {
        store.addVertex({static_cast<double>(k & 1), static_cast<double>(k >> 1 & 1), static_cast<double>(k >> 2)},
                        {0, 0, 0});
    }
    const std::array<std::array<uint32_t, 4>, 6> faces{
        {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}}};
    const std::array<Vector3, 6> normals{{{0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}}};
    for (size_t f = 0; f < faces.size(); ++f) {
        const std::array<Vector3, 4> cornerNormals{normals[f], normals[f], normals[f], normals[f]};
        store.addQuad(faces[f], Material{0, {f % 2 == 0 ? 0.0 : 1.0, 0, 0, 1}}, {}, {}, &cornerNormals);
    }
    store.mergeDuplicates();
    store.groupByMaterial();
    TempFolder folder;
    const std::string path = writeGltfFiles(store, {}, folder.file("cube"), GltfForm::kJson);
    const json document = documentOf(path);
    EXPECT_EQ(document["accessors"][0]["count"], 24);
    ASSERT_EQ(document["meshes"][0]["primitives"].size(), 2u);
    for (const json& primitive : document["meshes"][0]["primitives"]) {
        EXPECT_EQ(primitive["attributes"], json::parse(R"({"POSITION": 0, "NORMAL": 1})"));
    }
    EXPECT_EQ(document["accessors"][2]["count"], 18);  // three quads, six triangles
    EXPECT_EQ(document["accessors"][0]["min"], json::parse("[0, 0, 0]"));
    EXPECT_EQ(document["accessors"][0]["max"], json::parse("[1, 1, 1]"));
    EXPECT_EQ(validateGltf(path).status, 0);
}

// Corners met again, each after many others at its position: the fan's
// centre has a texture coordinate per blade, and every blade comes twice.
TEST(GltfExport, CornersMetAgainShareTheirVertex) {
    const Mag5ModelSpec fan = fanModel(40);
    std::set<std::tuple<uint32_t, float, float>> distinct;
    for (const Mag5PolygonSpec& polygon : fan.polygons) {
        for (const Mag5CornerSpec& corner : polygon.corners) {
            distinct.insert({corner.vertex, corner.u, corner.v});
        }
    }
    Mag5ModelSpec twice = fan;
    twice.polygons.insert(twice.polygons.end(), fan.polygons.begin(), fan.polygons.end());
    TempFolder folder;
    const TextureImages images{{"fan.pcx", pngTextureFile("fan.png", solidPng(1, 1, {1, 1, 1}))}};
    for (const Mag5ModelSpec& model : {fan, twice}) {
        const MeshStore store = loadModels(folder, {model});
        const std::string path = writeGltfFiles(store, textureFilesFor(store, images), folder.file("fan"), GltfForm::kJson);
        EXPECT_EQ(documentOf(path)["accessors"][0]["count"], distinct.size());
    }
}

// A large mesh's vertices come from pieces made by two threads, each piece
// starting partway through a group: the bytes are those the writer writes
// on one thread.
TEST(GltfExport, VerticesMadeInPiecesByTwoThreadsAreTheSame) {
    TempFolder folder;
    const MeshStore store = loadModels(folder, {surfaceModel(false, 20, 15), surfaceModel(true, 9, 7)});
    const TextureImages images{{"rock.pcx", pngTextureFile("rock.png", solidPng(1, 1, {5, 5, 5}))}};
    const TextureFiles textures = textureFilesFor(store, images);
    const GltfMesh mesh = buildGltfMesh(store, groupsShowingImages(store, textures));
    const GltfImages gltfImages = collectGltfImages(mesh, textures);
    const GltfBufferLayout layout = layOutGltfBuffer(mesh, gltfImages, true);
    OutputSet outputs;
    OutputFile* file = outputs.create(folder.file("buffer"), FileMode::kBinary);
    ASSERT_NE(file, nullptr);
    writeGltfBuffer(*file, store, mesh, gltfImages, layout);
    ASSERT_TRUE(outputs.commit());
    const std::string buffer = readFile(folder.file("buffer"));
    ASSERT_EQ(buffer.size(), layout.length);
    const std::string vertices = buffer.substr(layout.vertices.offset, layout.vertices.length);
    for (const PieceSizes& sizes : {PieceSizes{1, 1}, PieceSizes{7, 10}, PieceSizes{64, 65}}) {
        TextPieces pieces(sizes);
        addVertexPieces(pieces, store, mesh, layout.vertexStride);
        std::string made;
        pieces.write([&made](std::string_view bytes) { made += bytes; });
        EXPECT_TRUE(made == vertices) << "pieces of " << sizes.linesPerPiece;
    }
}

TEST(GltfExport, AnEmptyStoreGivesAValidDocument) {
    TempFolder folder;
    MeshStore store;
    store.groupByMaterial();
    for (const GltfForm form : {GltfForm::kBinary, GltfForm::kJson}) {
        const std::string path = writeGltfFiles(store, {}, folder.file("empty"), form);
        const ValidatorReport report = validateGltf(path);
        EXPECT_EQ(report.status, 0) << report.text;
        EXPECT_FALSE(documentOf(path).contains("meshes"));
    }
}

TEST(GltfExport, TwoRunsGiveTheSameBytes) {
    const TextureImages images{{"grass.pcx", pngTextureFile("grass.png", solidPng(2, 2, {0, 200, 0}))},
                               {"rock.pcx", pngTextureFile("rock.png", solidPng(2, 2, {90, 90, 90}))}};
    const std::vector<Mag5ModelSpec> models{surfaceModel(false, 6, 5), surfaceModel(true, 4, 3)};
    std::vector<std::map<std::string, std::string>> runs;
    for (int run = 0; run < 2; ++run) {
        TempFolder folder;
        const MeshStore store = loadModels(folder, models);
        for (const GltfForm form : {GltfForm::kBinary, GltfForm::kJson}) {
            writeGltfFiles(store, textureFilesFor(store, images), folder.file("out"), form);
        }
        runs.push_back(folderContents(folder.path()));
    }
    EXPECT_EQ(runs[0].size(), 2u + 3u + 2u);  // the models; out.glb, .gltf, .bin; the images
    EXPECT_TRUE(runs[0] == runs[1]);
}

TEST(GltfExport, OutputsWaitForTheCommitAndFailuresNameTheFile) {
    TempFolder folder;
    const MeshStore store = stripStore(4);
    {
        OutputSet outputs;
        EXPECT_TRUE(writeGltf(outputs, {store, {}, folder.file("late")}, [](size_t) {}));
        EXPECT_FALSE(folderContents(folder.path()).contains("late.gltf"));
        EXPECT_FALSE(folderContents(folder.path()).contains("late.bin"));
    }
    EXPECT_EQ(folderContents(folder.path()).size(), 0u);  // never committed: nothing left
    for (const GltfForm form : {GltfForm::kBinary, GltfForm::kJson}) {
        OutputSet outputs;
        EXPECT_FALSE(writerOf(form).write(outputs, {store, {}, folder.file("missing/model")}, [](size_t) {}));
        ASSERT_TRUE(outputs.error().has_value());
        EXPECT_EQ(outputs.error()->path, folder.file(form == GltfForm::kBinary ? "missing/model.glb"
                                                                                : "missing/model.gltf"));
        EXPECT_EQ(outputs.error()->reason, "No such file or directory");
    }
}

// Positions that floats do not hold exactly and texture coordinates that
// are not numbers: floats written, bounds that match them, zeros.
TEST(GltfExport, ValuesGltfCannotHoldAreMadeValid) {
    MeshStore store;
    store.addTexture("t.pcx");
    store.addVertex({0.1, 0.2, 1e-40}, {0, 0, 2});
    store.addVertex({1.0 / 3.0, 0.25, 0.5}, {0, 0, 1});
    store.addVertex({0.2, 2.0 / 3.0, 0.75}, {0, 0, 1});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    store.addTriangle({0, 1, 2}, Material{1, {2.0, -1.0, nan, nan}}, {nan, 1, 0}, {0, INFINITY, 1});
    store.mergeDuplicates();
    store.groupByMaterial();
    const TextureImages images{{"t.pcx", pngTextureFile("t.png", solidPng(1, 1, {7, 7, 7}))}};
    TempFolder folder;
    const std::string path = writeGltfFiles(store, textureFilesFor(store, images), folder.file("m"), GltfForm::kBinary);
    const ValidatorReport report = validateGltf(path);
    EXPECT_EQ(report.status, 0) << report.text;
    const json document = documentOf(path);
    EXPECT_EQ(document["accessors"][0]["min"][0].get<double>(), static_cast<double>(0.1f));
    EXPECT_EQ(document["accessors"][0]["max"][0].get<double>(), static_cast<double>(static_cast<float>(1.0 / 3.0)));
    EXPECT_EQ(document["accessors"][0]["min"][2].get<double>(), static_cast<double>(1e-40f));
    EXPECT_EQ(document["accessors"][0]["max"][1].get<double>(), static_cast<double>(static_cast<float>(2.0 / 3.0)));
    EXPECT_EQ(document["materials"][0]["pbrMetallicRoughness"]["baseColorFactor"], json::parse("[1, 0, 0, 1]"));
    const GltfReading reading = readGltf(path);
    ASSERT_EQ(reading.error, "");
    ASSERT_EQ(reading.triangles.size(), 1u);
    EXPECT_EQ(reading.triangles[0].corners[0].texcoord, (std::array<double, 2>{0.0, 1.0}));
    EXPECT_EQ(reading.triangles[0].corners[1].texcoord, (std::array<double, 2>{1.0, 0.0}));
    EXPECT_EQ(reading.triangles[0].corners[0].normal, (std::array<double, 3>{0.0, 0.0, 1.0}));
}

TEST(GltfExport, MaterialsAreNamedByTextureAndColour) {
    MeshStore store;
    const uint32_t wood = store.addTexture("wood \"oak\".pcx");
    const uint32_t bark = store.addTexture("bark.pcx");
    store.addVertex({0, 0, 0}, {0, 0, 1});
    store.addVertex({1, 0, 0}, {0, 0, 1});
    store.addVertex({0, 1, 0}, {0, 0, 1});
    store.addTriangle({0, 1, 2}, Material{wood, {200 / 255.0, 150 / 255.0, 100 / 255.0, 0.5}}, {0, 1, 0}, {0, 0, 1});
    store.addTriangle({0, 2, 1}, Material{bark, {1, 1, 1, 1}}, {0, 1, 0}, {0, 0, 1});
    store.addTriangle({1, 2, 0}, Material{kTextureMissing, {0, 0, 0, 1}}, {0, 1, 0}, {0, 0, 1});
    store.addTriangle({2, 1, 0}, Material{0, {0, 0, 1, 0}}, {}, {});
    store.mergeDuplicates();
    store.groupByMaterial();
    const TextureFile shared = pngTextureFile("wood.png", solidPng(2, 2, {100, 60, 20}));
    TempFolder folder;
    const std::string path = writeGltfFiles(
        store, textureFilesFor(store, {{"wood \"oak\".pcx", shared}, {"bark.pcx", shared}}), folder.file("m"),
        GltfForm::kJson);
    const json document = documentOf(path);
    std::vector<std::string> names;
    for (const json& material : document["materials"]) {
        names.push_back(material["name"]);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"untextured #0000ff00", "wood \"oak\".pcx #c8966480",
                                               "bark.pcx #ffffffff", "unnamed texture #000000ff"}));
    EXPECT_EQ(document["materials"][1]["extras"]["colourChannel4"], 0.5);
    EXPECT_EQ(document["materials"][1]["pbrMetallicRoughness"]["baseColorTexture"]["index"], 0);
    EXPECT_EQ(document["materials"][2]["pbrMetallicRoughness"]["baseColorTexture"]["index"], 0);
    EXPECT_FALSE(document["materials"][3]["pbrMetallicRoughness"].contains("baseColorTexture"));
    EXPECT_EQ(document["images"], json::parse(R"([{"name": "wood.png", "uri": "wood.png", "mimeType": "image/png"}])"));
    EXPECT_EQ(document["textures"], json::parse(R"([{"sampler": 0, "source": 0}])"));
    EXPECT_EQ(document["samplers"][0]["magFilter"], 9728);
    EXPECT_EQ(validateGltf(path).status, 0);
}

// Triangles two of whose corners have one position are left out, whatever
// their texture coordinates, and with them every vertex, primitive, material and image that only they used;
// the count returned is that of the polygons with a triangle left.
TEST(GltfExport, TrianglesWithARepeatedCornerAreLeftOutWithWhatOnlyTheyUse) {
    MeshStore store;
    const uint32_t wood = store.addTexture("wood.pcx");
    for (const Vector3& position : std::vector<Vector3>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {9, 9, 9}}) {
        store.addVertex(position, {0, 0, 1});
    }
    const Material red{0, {1, 0, 0, 1}};
    store.addQuad({0, 1, 2, 3}, red, {}, {});                                  // both triangles
    store.addQuad({0, 1, 1, 3}, red, {}, {});                                  // (0, 2, 3) alone
    store.addQuad({4, 1, 4, 3}, Material{wood, {1, 1, 1, 1}}, {0, 1, 1, 0}, {0, 0, 1, 1});  // nothing
    store.addTriangle({2, 2, 3}, Material{0, {0, 1, 0, 1}}, {}, {});          // nothing
    store.mergeDuplicates();
    store.groupByMaterial();
    const TextureFiles textures =
        textureFilesFor(store, {{"wood.pcx", pngTextureFile("wood.png", solidPng(2, 2, {100, 60, 20}))}});
    TempFolder folder;
    for (const GltfForm form : {GltfForm::kBinary, GltfForm::kJson}) {
        const ModelWriting written = writeModel(writerOf(form), store, folder.file("m"), textures);
        ASSERT_FALSE(written.failure);
        EXPECT_EQ(written.count, std::optional<size_t>(2));
        const std::string path = folder.file(form == GltfForm::kBinary ? "m.glb" : "m.gltf");
        const ValidatorReport report = validateGltf(path);
        EXPECT_EQ(report.status, 0) << report.text;
        EXPECT_EQ(report.triangles, 3u) << report.text;
        const json document = documentOf(path);
        EXPECT_EQ(document["meshes"][0]["primitives"].size(), 1u);
        EXPECT_EQ(document["materials"].size(), 1u);
        EXPECT_FALSE(document.contains("images"));
        EXPECT_EQ(document["accessors"][0]["count"], 4);
        EXPECT_EQ(document["accessors"][0]["max"], json::parse("[1, 1, 0]"));
        EXPECT_EQ(document["accessors"].size(), 3u);  // no texture coordinates: no image shown
    }
}

// A model whose every triangle is left out is a valid document with no mesh.
TEST(GltfExport, AModelWithNoTriangleLeftHasNoMesh) {
    MeshStore store;
    store.addVertex({0, 0, 0}, {0, 0, 1});
    store.addVertex({1, 0, 0}, {0, 0, 1});
    store.addQuad({0, 1, 0, 1}, Material{0, {1, 0, 0, 1}}, {}, {});
    store.addTriangle({1, 1, 1}, Material{0, {1, 1, 0, 1}}, {}, {});
    store.mergeDuplicates();
    store.groupByMaterial();
    TempFolder folder;
    const ModelWriting written = writeModel(kGlbWriter, store, folder.file("m"));
    ASSERT_FALSE(written.failure);
    EXPECT_EQ(written.count, std::optional<size_t>(0));
    const ValidatorReport report = validateGltf(folder.file("m.glb"));
    EXPECT_EQ(report.status, 0) << report.text;
    const json document = documentOf(folder.file("m.glb"));
    EXPECT_FALSE(document.contains("meshes"));
    EXPECT_FALSE(document.contains("materials"));
    EXPECT_FALSE(document.contains("buffers"));
}

}  // namespace
}  // namespace zelvane::test
