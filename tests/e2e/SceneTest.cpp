#include <gtest/gtest.h>
#include <sys/stat.h>

#include "SmallModelOutputs.h"
#include "Zelvane.h"

namespace zelvane::test {
namespace {

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
