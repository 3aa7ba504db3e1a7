#include <gtest/gtest.h>
#include <sys/stat.h>

#include "Zelvane.h"

namespace zelvane::test {
namespace {

constexpr const char* kSceneHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<QuazoScene xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xsi:noNamespaceSchemaLocation=\"../../schemas/quazoscene.xsd\">\n"
    "\t<Frame>\n";

std::string shader(const std::string& id, const std::string& image) {
    return "\n\t\t\t<SurfaceShader name=\"" + id + "\">\n\t\t\t\t<Reflectance>\n\t\t\t\t\t<ImageTexture href=\"" +
           image + "\"/>\n\t\t\t\t</Reflectance>\n\t\t\t</SurfaceShader>\n\n";
}

std::string meshObject(const std::string& id) {
    return "\n\t\t\t<Object type=\"mesh\">\n\t\t\t\t<Parameter name=\"href\" value=\"" + id +
           ".obj\"/>\n\t\t\t\t<Parameter name=\"surfaceshader\" value=\"" + id + "\"/>\n\t\t\t</Object>\n\n";
}

constexpr const char* kSmallVertexLines =
    "v 0.000000 0.000000 0.000000\nv 1.000000 0.000000 0.000000\n"
    "v 1.000000 1.000000 0.000000\nv 0.000000 1.000000 0.000000\n"
    "vt 0.000000 1.000000 0.000000\nvt 0.250000 0.875000 0.000000\nvt 0.500000 0.750000 0.000000\n"
    "vn 0.000000 0.000000 1.000000\n";

// The scene of smallModel() and its two mesh files, in the given folder.
void expectSmallScene(const std::string& folder, const std::string& sceneName) {
    const auto files = folderContents(folder);
    ASSERT_EQ(files.size(), 4u) << folder;  // model, scene, two meshes
    GroupIdNames ids;
    EXPECT_EQ(ids.replaceIn(files.at(sceneName)),
              outputText(kSceneHead + shader("<G1>", "") + shader("<G2>", "roof.pcx") + meshObject("<G1>") +
                         meshObject("<G2>") + "\t</Frame>\n</QuazoScene>\n"));
    const std::string head = "mtllib " + sceneName + "\n\n" + kSmallVertexLines + "\n";
    std::map<std::string, std::string> meshes;
    for (const auto& [name, text] : files) {
        if (name.ends_with(".obj")) meshes[ids.replaceIn(name)] = text;
    }
    EXPECT_EQ(meshes["<G1>.obj"], outputText(head + "f 1//1 2//1 3//1 4//1 \n"));
    EXPECT_EQ(meshes["<G2>.obj"], outputText(head + "f 1/1/1 2/2/1 3/3/1 \n"));
    EXPECT_EQ(ids.count(), 2u);
}

TEST(Scene, OptionInAnyCaseBeforeOrAfterTheModel) {
    for (const auto& arguments : {std::vector<std::string>{"small.mag", "-quazo"},
                                  std::vector<std::string>{"-QUAZO", "small.mag"},
                                  std::vector<std::string>{"-qUaZo", "small.mag", "-quazo"}}) {
        TempFolder folder;
        saveModel(smallModel(), folder.file("small.mag"));
        const CommandResult result = runZelvaneIn(folder, arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, outputText(std::string(kBanner) + kSmallModelReport));
        expectSmallScene(folder.path(), "small.xml");
    }
}

TEST(Scene, ModelInAFolderKeepsEveryFileBesideTheScene) {
    TempFolder folder;
    ASSERT_EQ(mkdir(folder.file("models").c_str(), 0755), 0);
    saveModel(smallModel(), folder.file("models/small.mag"));
    const CommandResult result = runZelvaneIn(folder, {"models/small.mag", "-quazo"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(folderContents(folder.path()).empty());
    expectSmallScene(folder.file("models"), "small.xml");
}

TEST(Scene, ModelWithoutPolygons) {
    TempFolder folder;
    Mag5ModelSpec model;
    model.vertices = {vertexAt(1, 2, 3)};
    saveModel(model, folder.file("empty.mag"));
    const CommandResult result = runZelvaneIn(folder, {"empty.mag", "-quazo"});
    EXPECT_EQ(result.status, 0) << result.err;
    const auto files = folderContents(folder.path());
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files.at("empty.xml"), outputText(std::string(kSceneHead) + "\t</Frame>\n</QuazoScene>\n"));
}

// The texture name as an XML parser reads it back from the scene.
std::string textureNameReadBack(const std::string& name) {
    TempFolder folder;
    Mag5ModelSpec model = smallModel();
    model.textures[1] = name;
    saveModel(model, folder.file("m.mag"));
    EXPECT_EQ(runZelvaneIn(folder, {"m.mag", "-quazo"}).status, 0);
    const CommandResult parsed =
        runProgram(ZELVANE_XMLLINT, {"--xpath", "string((//ImageTexture)[2]/@href)", "m.xml"}, folder.path());
    EXPECT_EQ(parsed.status, 0) << parsed.err;
    return parsed.out;
}

TEST(Scene, TextureNamesParseBack) {
    // xmllint ends its answer with a line end.
    for (const std::string name : {"a&b<c>\"d'&amp;.pcx", "tab\there\nand\rthere.pcx", "caf\xC3\xA9.pcx"}) {
        EXPECT_EQ(textureNameReadBack(name), name + "\n");
    }
    // Bytes XML cannot carry still give a document that parses.
    EXPECT_EQ(textureNameReadBack("caf\xE9\x07.pcx"), "caf\xC3\xA9\xEF\xBF\xBD.pcx\n");
}

}  // namespace
}  // namespace zelvane::test
