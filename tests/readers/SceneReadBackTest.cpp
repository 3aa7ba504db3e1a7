// Scene documents parsed with libxml2 and their mesh files read back with
// tinyobjloader: every group's faces must be polygons of the models, shown
// with the texture image the group's shader names.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "ExpectedFaces.h"
#include "FaceMatching.h"
#include "ObjFaces.h"
#include "ReadBackModels.h"
#include "SceneDocument.h"
#include "Zelvane.h"
#include "sample/SampleHouse.h"

namespace zelvane::test {
namespace {

// The faces of every mesh file of a scene, each with the image of the
// shader its object names and the object it belongs to.
struct SceneFaces {
    std::vector<ReadFace> faces;
    std::vector<std::optional<std::string>> images;
    std::vector<size_t> objects;
};

// Reads the mesh file of every object of the scene, which must lie in the
// scene's folder, and checks that the objects and the folder's OBJ files
// correspond one to one.
SceneFaces readMeshes(const SceneDocument& scene, const std::string& sceneFolder) {
    SceneFaces read;
    std::set<std::string> hrefs;
    for (size_t o = 0; o < scene.objects.size(); ++o) {
        const SceneObject& object = scene.objects[o];
        EXPECT_EQ(object.type, "mesh");
        EXPECT_TRUE(hrefs.insert(object.href).second) << "two objects name " << object.href;
        EXPECT_EQ(object.href.find_first_of("/\\"), std::string::npos) << object.href;
        const auto shader = scene.shaderImages.find(object.shader);
        EXPECT_NE(shader, scene.shaderImages.end()) << object.href << " names no shader of the scene";
        const ObjReading mesh = readObj(sceneFolder + "/" + object.href);
        EXPECT_EQ(mesh.error, "") << object.href;
        EXPECT_EQ(mesh.warning, "") << object.href;
        for (const ReadFace& face : mesh.faces) {
            read.faces.push_back(face);
            read.images.push_back(shader == scene.shaderImages.end() ? std::nullopt : shader->second);
            read.objects.push_back(o);
        }
    }
    for (const auto& [name, text] : folderContents(sceneFolder)) {
        EXPECT_TRUE(!name.ends_with(".obj") || hrefs.count(name) == 1) << name << " is no object of the scene";
    }
    return read;
}

// Every face of one object carries the same colour: one object is one material.
void expectOneColourPerObject(const std::vector<ExpectedFace>& expected, const SceneFaces& read,
                              const FacePairing& pairing) {
    std::map<size_t, size_t> firstFaceOfObject;
    for (size_t r = 0; r < read.faces.size(); ++r) {
        if (pairing.expectedOfRead[r] >= expected.size()) {
            continue;
        }
        const auto [first, inserted] = firstFaceOfObject.try_emplace(read.objects[r], pairing.expectedOfRead[r]);
        EXPECT_EQ(expected[first->second].diffuse, expected[pairing.expectedOfRead[r]].diffuse)
            << "object " << read.objects[r] << " holds " << expected[first->second].origin << " and "
            << expected[pairing.expectedOfRead[r]].origin;
    }
}

void expectSceneReadsBack(const TempFolder& folder, const std::vector<std::string>& arguments,
                          const std::vector<Mag5ModelSpec>& models, const std::string& sceneFolder,
                          const std::string& sceneName) {
    const CommandResult result = runZelvaneIn(folder, arguments);
    ASSERT_EQ(result.status, 0) << result.err;
    const SceneDocument scene = readScene(sceneFolder + "/" + sceneName);
    ASSERT_EQ(scene.error, "") << sceneName << " is not well formed";
    EXPECT_EQ(scene.rootName, "QuazoScene");
    EXPECT_EQ(scene.shaderCount, scene.shaderImages.size()) << "shader names repeat";
    EXPECT_EQ(scene.objects.size(), scene.shaderCount);
    const SceneFaces read = readMeshes(scene, sceneFolder);
    const std::vector<ExpectedFace> expected = expectedFaces(models);
    EXPECT_EQ(read.faces.size(), expected.size());
    const FacePairing pairing =
        pairFaces(expected, read.faces, [&](size_t e, size_t r) { return expected[e].image == read.images[r]; });
    EXPECT_TRUE(pairing.problems.empty()) << pairing.problems;
    expectOneColourPerObject(expected, read, pairing);
}

TEST(SceneReadBack, ModelGivenWithAFolder) {
    TempFolder folder;
    ASSERT_EQ(mkdir(folder.file("models").c_str(), 0755), 0);
    saveModel(shipModel(), folder.file("models/ship.mag"));
    expectSceneReadsBack(folder, {"models/ship.mag", "-quazo"}, {shipModel()}, folder.file("models"), "ship.xml");
}

TEST(SceneReadBack, SampleHouse) {
    TempFolder folder;
    writeFile(folder.file("house.mag"), readFile(ZELVANE_SAMPLE));
    expectSceneReadsBack(folder, {"-quazo", "house.mag"}, {tools::sampleHouse()}, folder.path(), "house.xml");
}

TEST(SceneReadBack, SeveralModelsEachWithItsOwnTables) {
    TempFolder folder;
    saveModel(pierModel(), folder.file("pier.mag"));
    saveModel(boatModel(), folder.file("boat.mag"));
    expectSceneReadsBack(folder, {"pier.mag", "boat.mag", "-quazo"}, {pierModel(), boatModel()}, folder.path(),
                         "boat.xml");
}

// Names with every markup character, blanks and bytes up to the 32 a name
// can hold, each on a group of its own: the parsed document gives them back
// byte for byte.
TEST(SceneReadBack, TextureNamesComeBackUnchanged) {
    const std::vector<std::string> names = {"a&b.pcx", "<tag>.pcx", "say \"hi\".pcx", "it's.pcx", "&amp;&lt;",
                                            "]]>.pcx", "0123456789abcdef0123456789abcdef"};
    Mag5ModelSpec model;
    model.textures = names;
    model.vertices = {vertexAt(0, 0, 0), vertexAt(1, 0, 0), vertexAt(0, 1, 0)};
    for (size_t texture = 0; texture < names.size(); ++texture) {
        model.polygons.push_back(polygonOver({0, 1, 2}, static_cast<int32_t>(texture)));
    }
    TempFolder folder;
    saveModel(model, folder.file("names.mag"));
    expectSceneReadsBack(folder, {"names.mag", "-quazo"}, {model}, folder.path(), "names.xml");
    const SceneDocument scene = readScene(folder.file("names.xml"));
    std::multiset<std::string> images;
    for (const auto& [shader, image] : scene.shaderImages) {
        images.insert(image.value_or("(no image)"));
    }
    EXPECT_EQ(images, std::multiset<std::string>(names.begin(), names.end()));
}

}  // namespace
}  // namespace zelvane::test
