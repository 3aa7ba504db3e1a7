#include <gtest/gtest.h>
#include <sys/stat.h>

#include "SmallModelOutputs.h"
#include "Zelvane.h"

namespace zelvane::test {
namespace {

// Saves smallModel() as folderName/baseName.mag in the temporary folder and
// returns the model's folder.
std::string saveSmallModelIn(const TempFolder& folder, const std::string& folderName, const std::string& baseName) {
    const std::string modelFolder = folder.file(folderName);
    EXPECT_EQ(mkdir(modelFolder.c_str(), 0755), 0) << modelFolder;
    saveModel(smallModel(), modelFolder + "/" + baseName + ".mag");
    return modelFolder;
}

// Folder and file names beyond ASCII. On Windows the converter must find and
// name its files whatever the system's code page: the run under wine repeats
// this test under a Western, a Russian and a Japanese system locale.
TEST(FileNames, AnyCharactersInFolderAndModelNames) {
    const struct {
        std::string folder;
        std::string base;
    } names[] = {
        {"dossier-été", "maison-été"},
        {"папка", "дом"},
        {"文件夹", "表"},  // in code page 932 the second byte of 表 is that of a backslash
        {"📁dir", "🏠"},
    };
    for (const auto& [folderName, base] : names) {
        SCOPED_TRACE(folderName + "/" + base);
        const std::string model = folderName + "/" + base + ".mag";
        TempFolder objRun;
        const std::string objFolder = saveSmallModelIn(objRun, folderName, base);
        const CommandResult converted = runZelvaneIn(objRun, {model});
        EXPECT_EQ(converted.status, 0) << converted.err;
        EXPECT_EQ(converted.out, outputText(std::string(kBanner) + kSmallModelReport + "obj pcount: 2\n"));
        const auto files = folderContents(objFolder);
        EXPECT_EQ(files.size(), 3u);
        GroupIdNames ids;
        EXPECT_EQ(ids.replaceIn(files.count(base + ".obj") ? files.at(base + ".obj") : ""),
                  outputText(smallObj(base + ".mtl")));
        EXPECT_EQ(ids.replaceIn(files.count(base + ".mtl") ? files.at(base + ".mtl") : ""), outputText(kSmallMtl));

        TempFolder sceneRun;
        const std::string sceneFolder = saveSmallModelIn(sceneRun, folderName, base);
        const CommandResult scene = runZelvaneIn(sceneRun, {model, "-quazo"});
        EXPECT_EQ(scene.status, 0) << scene.err;
        expectSmallScene(sceneFolder, base + ".xml");
        EXPECT_TRUE(folderContents(objRun.path()).empty() && folderContents(sceneRun.path()).empty());
    }
    // Standard error names the path as given, in UTF-8 when it is not a console.
    TempFolder folder;
    const CommandResult missing = runZelvaneIn(folder, {"папка/表.mag"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, outputText("zelvane: папка/表.mag: No such file or directory\n"));
}

}  // namespace
}  // namespace zelvane::test
