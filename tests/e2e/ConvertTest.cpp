#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "SmallModelOutputs.h"
#include "Zelvane.h"

namespace zelvane::test {
namespace {

TEST(Convert, SmallModelToObjAndMtl) {
    TempFolder folder;
    saveModel(smallModel(), folder.file("small.mag"));
    const CommandResult result = runZelvaneIn(folder, {"small.mag"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, outputText(std::string(kBanner) + kSmallModelReport + "obj pcount: 2\n"));
    EXPECT_EQ(result.err, "");
    const auto files = folderContents(folder.path());
    ASSERT_EQ(files.size(), 3u);
    GroupIdNames ids;
    EXPECT_EQ(ids.replaceIn(files.at("small.obj")), outputText(smallObj("small.mtl")));
    EXPECT_EQ(ids.replaceIn(files.at("small.mtl")), outputText(kSmallMtl));
    EXPECT_EQ(ids.count(), 2u);
}

TEST(Convert, ModelInAFolderWritesBesideItAndNamesTheLibraryAlone) {
    TempFolder folder;
    ASSERT_EQ(mkdir(folder.file("old.models").c_str(), 0755), 0);
    saveModel(smallModel(), folder.file("old.models/small.lod1.mag"));
    writeFile(folder.file("old.models/small.obj"), std::string("previous output"));
    const CommandResult result = runZelvaneIn(folder, {"old.models/small.lod1.mag"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(folderContents(folder.path()).size(), 0u);
    const auto files = folderContents(folder.file("old.models"));
    ASSERT_EQ(files.size(), 3u);
    GroupIdNames ids;
    EXPECT_EQ(ids.replaceIn(files.at("small.obj")), outputText(smallObj("small.mtl")));
    EXPECT_EQ(ids.replaceIn(files.at("small.mtl")), outputText(kSmallMtl));
}

TEST(Convert, SeveralModelsGoIntoOneOutputNamedAfterTheLast) {
    TempFolder folder;
    saveModel(smallModel(), folder.file("a.mag"));
    Mag5ModelSpec second;
    second.textures = {"roof.pcx"};
    second.vertices = {vertexAt(0, 0, 0), vertexAt(2, 0, 0), vertexAt(2, 2, 0)};
    second.polygons = {polygonOver({0, 1, 2}, 0)};
    second.polygons[0].colour = {255, 128, 0, 255};
    saveModel(second, folder.file("b.mag"));
    const CommandResult result = runZelvaneIn(folder, {"a.mag", "b.mag"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, outputText(std::string(kBanner) + kSmallModelReport +
                                         "poly count: 1\nstate changes: 0\nfragmentation: 0.00%\n"
                                         "flat shaded polygons: 0\npc: 1 tpc:1 qpc: 0\nobj pcount: 3\n"));
    const auto files = folderContents(folder.path());
    ASSERT_TRUE(files.count("b.obj") && files.count("b.mtl") && !files.count("a.obj"));
    GroupIdNames ids;
    const std::string obj = ids.replaceIn(files.at("b.obj"));
    // b's triangle uses b's own vertices (5, 6, 7 after a's four, one merged
    // with a's first) and a's roof texture group, with the same texcoords.
    EXPECT_NE(obj.find(outputText("v 2.000000 0.000000 0.000000\nv 2.000000 2.000000 0.000000\nvt")),
              std::string::npos);
    EXPECT_NE(obj.find(outputText("\nusemtl tex<G2>\n\nf 1/1/1 2/2/1 3/3/1 \nf 1/1/1 5/2/1 6/3/1 \n")),
              std::string::npos)
        << obj;
    EXPECT_EQ(ids.count(), 2u);
}

// Every face corner of an OBJ body refers to lines that exist.
void expectFacesWithinArrays(const std::string& obj) {
    size_t counts[3] = {0, 0, 0};
    std::istringstream lines(obj);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("v ", 0) == 0) ++counts[0];
        if (line.rfind("vt ", 0) == 0) ++counts[1];
        if (line.rfind("vn ", 0) == 0) ++counts[2];
        if (line.rfind("f ", 0) != 0) continue;
        std::istringstream corners(line.substr(2));
        for (std::string corner; corners >> corner;) {
            size_t field = 0;
            std::istringstream parts(corner);
            for (std::string part; std::getline(parts, part, '/'); ++field) {
                if (part.empty()) continue;
                const unsigned long index = std::stoul(part);
                EXPECT_GE(index, 1u) << line;
                EXPECT_LE(index, counts[field]) << line;
            }
        }
    }
}

TEST(Convert, SampleHouse) {
    TempFolder folder;
    writeFile(folder.file("house.mag"), readFile(ZELVANE_SAMPLE));
    const CommandResult result = runZelvaneIn(folder, {"house.mag"});
    EXPECT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> lines = outputLines(result.out);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1], "poly count: 264");
    EXPECT_EQ(lines[5], "pc: 264 tpc:58 qpc: 206");
    EXPECT_EQ(lines[6], "obj pcount: 264");
    const std::string obj = readFile(folder.file("house.obj"));
    expectFacesWithinArrays(obj);
    const std::string mtl = readFile(folder.file("house.mtl"));
    for (const char* texture : {"brick.pcx", "roof_tiles.pcx", "planks.pcx", "window.pcx"}) {
        EXPECT_NE(mtl.find(outputText(std::string("map_Kd ") + texture + "\n")), std::string::npos) << texture;
    }
}

}  // namespace
}  // namespace zelvane::test
