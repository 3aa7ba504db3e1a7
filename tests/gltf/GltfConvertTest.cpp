// The converter run with --glb and --gltf: the files it leaves, checked by
// the Khronos validator and read back with three.js. These run against a
// Windows build under wine too (label e2e); the readers stay on this side.
#include <gtest/gtest.h>

#include <filesystem>

#include "GltfFaces.h"
#include "GltfReaders.h"
#include "ReadBackModels.h"
#include "Zelvane.h"
#include "sample/SampleHouse.h"

namespace zelvane::test {
namespace {

constexpr const char* kNonPowerOfTwo = "IMAGE_NPOT_DIMENSIONS";  // the sample's textures are 96 x 96 and such

std::set<std::string> fileNames(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& [name, contents] : folderContents(folder)) {
        names.insert(name);
    }
    return names;
}

// Runs the converter on the models in the folder and expects the document
// to pass the validator and read back as the models' triangles.
void expectConverts(const TempFolder& folder, const std::vector<std::string>& arguments,
                    const std::vector<Mag5ModelSpec>& models, const TextureImages& images,
                    const std::string& documentName) {
    const CommandResult result = runZelvaneIn(folder, arguments);
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<ExpectedTriangle> expected = expectedTriangles(models, images);
    const std::string format = documentName.ends_with(".glb") ? "glb" : "gltf";
    size_t polygons = 0;
    for (const Mag5ModelSpec& model : models) {
        for (const Mag5PolygonSpec& polygon : model.polygons) {
            polygons += polygon.corners.size() == 3 || polygon.corners.size() == 4 ? 1 : 0;
        }
    }
    EXPECT_TRUE(result.out.ends_with(outputText("\n" + format + " pcount: " + std::to_string(polygons) + "\n")))
        << result.out;
    const ValidatorReport report = validateGltf(folder.file(documentName), {kNonPowerOfTwo});
    EXPECT_EQ(report.status, 0) << report.text;
    EXPECT_EQ(report.triangles, expected.size()) << report.text;
    const GltfReading reading = readGltf(folder.file(documentName));
    ASSERT_EQ(reading.error, "");
    EXPECT_EQ(reading.triangles.size(), expected.size());
    EXPECT_EQ(unpairedTriangles(expected, reading), "");
}

void copySample(const TempFolder& folder) {
    const std::filesystem::path examples = std::filesystem::path(ZELVANE_SAMPLE).parent_path();
    for (const char* name : {"house.mag", "brick.pcx", "roof_tiles.pcx", "planks.pcx", "window.pcx"}) {
        std::filesystem::copy_file(examples / name, folder.file(name));
    }
}

// The sample with its PCX textures, converted to PNG images beside a
// ".gltf" and embedded, the same images, in a ".glb".
TEST(GltfConvert, SampleHouseWithItsTextures) {
    TempFolder json;
    copySample(json);
    const std::set<std::string> inputs = fileNames(json.path());
    const std::map<std::string, std::string> textures{{"brick.pcx", "brick.png"},
                                                      {"roof_tiles.pcx", "roof_tiles.png"},
                                                      {"planks.pcx", "planks.png"},
                                                      {"window.pcx", "window.png"}};
    const CommandResult run = runZelvaneIn(json, {"house.mag", "--gltf"});
    ASSERT_EQ(run.status, 0) << run.err;
    TextureImages images;
    for (const auto& [texture, image] : textures) {
        const std::string bytes = readFile(json.file(image));
        images[texture] = pngTextureFile(image, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
    expectConverts(json, {"house.mag", "--gltf"}, {tools::sampleHouse()}, images, "house.gltf");
    std::set<std::string> written = inputs;
    written.insert({"house.gltf", "house.bin", "brick.png", "roof_tiles.png", "planks.png", "window.png"});
    EXPECT_EQ(fileNames(json.path()), written);

    TempFolder binary;
    copySample(binary);
    expectConverts(binary, {"--glb", "house.mag"}, {tools::sampleHouse()}, images, "house.glb");
    written = inputs;
    written.insert("house.glb");
    EXPECT_EQ(fileNames(binary.path()), written);
}

// Textures whose images are nowhere: plain colours, and the outputs named
// after the last model.
TEST(GltfConvert, SeveralModelsWithoutImages) {
    for (const char* option : {"--glb", "--gltf"}) {
        TempFolder folder;
        saveModel(pierModel(), folder.file("pier.mag"));
        saveModel(boatModel(), folder.file("boat.mag"));
        saveModel(shipModel(), folder.file("ship.mag"));
        expectConverts(folder, {"pier.mag", option, "boat.mag", "ship.mag"}, {pierModel(), boatModel(), shipModel()},
                       {}, std::string("ship.") + (option + 2));
    }
}

}  // namespace
}  // namespace zelvane::test
