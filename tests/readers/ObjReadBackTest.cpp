// Converted models read back with tinyobjloader: every face, with its
// material from the library, must be a polygon of the models.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "ExpectedFaces.h"
#include "FaceMatching.h"
#include "ObjFaces.h"
#include "ReadBackModels.h"
#include "Pixels.h"
#include "Zelvane.h"
#include "sample/SampleHouse.h"

namespace zelvane::test {
namespace {

// Runs the converter and reads objPath (in the folder) back: a face for
// every triangle and quad of the models, with the right corners, material
// colour and texture image.
void expectFacesReadBack(const TempFolder& folder, const std::vector<std::string>& arguments,
                         const std::vector<ExpectedFace>& expected, const std::string& objPath) {
    const CommandResult result = runZelvaneIn(folder, arguments);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with(outputText("\nobj pcount: " + std::to_string(expected.size()) + "\n")))
        << result.out;
    const ObjReading obj = readObj(folder.file(objPath));
    ASSERT_EQ(obj.error, "");
    EXPECT_EQ(obj.warning, "");
    EXPECT_EQ(obj.faces.size(), expected.size());
    for (size_t face = 0; face < obj.faces.size(); ++face) {
        EXPECT_TRUE(obj.faces[face].material.has_value()) << "face " << face << " uses no material of the library";
    }
    const FacePairing pairing = pairFaces(expected, obj.faces, [&](size_t e, size_t r) {
        return obj.faces[r].material && sameMaterial(expected[e], *obj.faces[r].material);
    });
    EXPECT_TRUE(pairing.problems.empty()) << pairing.problems;
}

void expectObjReadsBack(const TempFolder& folder, const std::vector<std::string>& arguments,
                        const std::vector<Mag5ModelSpec>& models, const std::string& objPath) {
    expectFacesReadBack(folder, arguments, expectedFaces(models), objPath);
}

TEST(ObjReadBack, ModelGivenWithAFolder) {
    TempFolder folder;
    ASSERT_EQ(mkdir(folder.file("models").c_str(), 0755), 0);
    saveModel(shipModel(), folder.file("models/ship.mag"));
    expectObjReadsBack(folder, {"models/ship.mag"}, {shipModel()}, "models/ship.obj");
}

TEST(ObjReadBack, SampleHouse) {
    TempFolder folder;
    const std::string sample = readFile(ZELVANE_SAMPLE);
    const std::vector<uint8_t> house = tools::encodeMag5(tools::sampleHouse());
    ASSERT_TRUE(sample == std::string(house.begin(), house.end()))
        << "examples/house.mag is not the sample house; make sample rewrites it";
    writeFile(folder.file("house.mag"), sample);
    expectObjReadsBack(folder, {"house.mag"}, {tools::sampleHouse()}, "house.obj");
}

// With its textures, every material names a PNG beside the OBJ file that
// holds the pixels of the PCX image the model names.
TEST(ObjReadBack, SampleHouseWithItsTextures) {
    TempFolder folder;
    writeFile(folder.file("house.mag"), readFile(ZELVANE_SAMPLE));
    const std::string examples = std::string(ZELVANE_SAMPLE).substr(0, std::string(ZELVANE_SAMPLE).rfind('/'));
    std::vector<ExpectedFace> expected = expectedFaces({tools::sampleHouse()});
    std::set<std::string> images;
    for (ExpectedFace& face : expected) {
        if (face.image && !face.image->empty()) {
            images.insert(*face.image);
            face.image = face.image->substr(0, face.image->rfind('.')) + ".png";
        }
    }
    ASSERT_EQ(images.size(), 4u);
    expectFacesReadBack(folder, {"house.mag", "--textures", "--texture-dir", examples}, expected, "house.obj");
    for (const std::string& image : images) {
        const std::string png = image.substr(0, image.rfind('.')) + ".png";
        EXPECT_TRUE(samePixels(folder.file(png), examples + "/" + image)) << png;
    }
}

TEST(ObjReadBack, SeveralModelsEachWithItsOwnTables) {
    TempFolder folder;
    saveModel(pierModel(), folder.file("pier.mag"));
    saveModel(boatModel(), folder.file("boat.mag"));
    expectObjReadsBack(folder, {"pier.mag", "boat.mag"}, {pierModel(), boatModel()}, "boat.obj");
    expectObjReadsBack(folder, {"boat.mag", "pier.mag", "boat.mag"}, {boatModel(), pierModel(), boatModel()},
                       "boat.obj");
}

}  // namespace
}  // namespace zelvane::test
