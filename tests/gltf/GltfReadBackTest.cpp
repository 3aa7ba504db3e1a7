// Stores written as glTF in both forms, checked by the Khronos validator
// and read back with three.js: every triangle must be one the models give,
// corner by corner, with its material's colour and image.
#include <gtest/gtest.h>

#include "Files.h"
#include "GltfFaces.h"
#include "GltfModels.h"
#include "GltfOutputs.h"
#include "GltfReaders.h"
#include "ReadBackModels.h"
#include "TinyPng.h"
#include "sample/SampleHouse.h"

namespace zelvane::test {
namespace {

TextureFile pngFile(const std::string& fileName, uint32_t size, const std::array<uint8_t, 3>& colour) {
    return pngTextureFile(fileName, solidPng(size, size, colour));
}

// Images for the sample house's four textures, with file names that a URI
// must encode.
TextureImages houseImages() {
    return {{"brick.pcx", pngFile("brick.png", 4, {160, 60, 40})},
            {"roof_tiles.pcx", pngFile("roof tiles #2.png", 8, {120, 40, 30})},
            {"planks.pcx", pngFile("planks 100%.png", 2, {150, 110, 70})},
            {"window.pcx", pngFile("fen\xC3\xAAtre.png", 4, {180, 200, 230})}};
}

class GltfReadBack : public ::testing::TestWithParam<GltfForm> {
protected:
    // Writes the models, loaded into one store, in the form under test;
    // the validator must find nothing to report, and three.js every
    // triangle of the models, and no other.
    void expectReadsBack(const std::vector<Mag5ModelSpec>& models, const TextureImages& images = {}) {
        const MeshStore store = loadModels(folder_, models);
        const std::string path =
            writeGltfFiles(store, textureFilesFor(store, images), folder_.file("model"), GetParam());
        ASSERT_FALSE(path.empty());
        const std::vector<ExpectedTriangle> expected = expectedTriangles(models, images);
        const ValidatorReport report = validateGltf(path);
        EXPECT_EQ(report.status, 0) << report.text;
        EXPECT_EQ(report.errors + report.warnings + report.infos, 0u) << report.text;
        EXPECT_EQ(report.triangles, expected.size()) << report.text;
        const GltfReading reading = readGltf(path);
        ASSERT_EQ(reading.error, "");
        EXPECT_EQ(reading.triangles.size(), expected.size());
        EXPECT_EQ(unpairedTriangles(expected, reading), "");
    }

    TempFolder folder_;
};

TEST_P(GltfReadBack, SampleHouseWithoutImages) {
    expectReadsBack({tools::sampleHouse()});
}

TEST_P(GltfReadBack, SampleHouseWithImages) {
    expectReadsBack({tools::sampleHouse()}, houseImages());
}

// Triangles and quads, textured and not, a texture outside the table and
// polygons of five corners and of none, which give nothing.
TEST_P(GltfReadBack, QuadsAndTriangles) {
    expectReadsBack({shipModel()}, {{"hull planks.pcx", pngFile("hull.png", 2, {90, 60, 30})},
                                    {"sail&rope<1>.pcx", pngFile("sail.png", 2, {240, 240, 230})}});
}

TEST_P(GltfReadBack, SmoothSurface) {
    expectReadsBack({surfaceModel(false, 12, 9)}, {{"grass.pcx", pngFile("grass.png", 4, {40, 160, 40})},
                                                   {"rock.pcx", pngFile("rock.png", 4, {120, 120, 120})}});
}

TEST_P(GltfReadBack, FlatShadedSurface) {
    expectReadsBack({surfaceModel(true, 12, 9)}, {{"grass.pcx", pngFile("grass.png", 4, {40, 160, 40})}});
}

TEST_P(GltfReadBack, UntexturedModel) {
    Mag5ModelSpec model = surfaceModel(false, 5, 4);
    for (Mag5PolygonSpec& polygon : model.polygons) {
        polygon.textureIndex = -1;
    }
    model.textures.clear();
    expectReadsBack({model});
}

// More vertices than 16-bit indices can number.
TEST_P(GltfReadBack, SeventyThousandVertices) {
    expectReadsBack({manyVerticesModel(70000)});
}

TEST_P(GltfReadBack, ManyCornersAtOnePosition) {
    expectReadsBack({fanModel(40)}, {{"fan.pcx", pngFile("fan.png", 2, {1, 2, 3})}});
}

TEST_P(GltfReadBack, NormalsWithoutDirection) {
    expectReadsBack({directionlessNormalsModel()}, {{"odd.pcx", pngFile("odd.png", 2, {9, 9, 9})}});
}

// Each model numbers its own vertices and textures; "deck.pcx" is texture
// 1 of the pier and texture 0 of the boat, and two names share one image.
TEST_P(GltfReadBack, SeveralModelsInOneStore) {
    const TextureFile deck = pngFile("deck.png", 4, {130, 100, 60});
    expectReadsBack({pierModel(), boatModel(), surfaceModel(true, 3, 2)},
                    {{"deck.pcx", deck}, {"sail.pcx", deck}, {"stone.pcx", pngFile("stone.png", 2, {99, 99, 99})}});
}

INSTANTIATE_TEST_SUITE_P(BothForms, GltfReadBack, ::testing::Values(GltfForm::kBinary, GltfForm::kJson),
                         [](const ::testing::TestParamInfo<GltfForm>& form) { return std::string(formName(form.param)); });

}  // namespace
}  // namespace zelvane::test
