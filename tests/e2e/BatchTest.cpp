// Converting each model on its own: a folder of models, outputs beside each
// or under an output folder, standard output in the order of the models.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "Zelvane.h"

namespace zelvane::test {
namespace {

// A model of n triangles, so that its load report tells it apart.
Mag5ModelSpec modelOf(uint32_t triangles) {
    Mag5ModelSpec model;
    model.vertices = {vertexAt(0, 0, 0), vertexAt(1, 0, 0), vertexAt(0, 1, 0)};
    for (uint32_t index = 0; index < triangles; ++index) {
        model.polygons.push_back(polygonOver({0, 1, 2}));
    }
    return model;
}

// Its load report and count line: one state change, at the first triangle.
std::string blockOf(uint32_t triangles) {
    const std::string n = std::to_string(triangles);
    char fragmentation[16];
    std::snprintf(fragmentation, sizeof fragmentation, "%.2f", 100.0 / triangles);
    return "poly count: " + n + "\nstate changes: 1\nfragmentation: " + fragmentation +
           "%\nflat shaded polygons: 0\npc: " + n + " tpc:" + n + " qpc: 0\nobj pcount: " + n + "\n";
}

void saveModelAt(const TempFolder& folder, const std::string& name, const Mag5ModelSpec& model) {
    std::filesystem::create_directories(std::filesystem::path(folder.file(name)).parent_path());
    saveModel(model, folder.file(name));
}

bool exists(const TempFolder& folder, const std::string& name) {
    return std::filesystem::exists(folder.file(name));
}

// game/ holds models in and below it in names of both cases, a broken one
// and a file that is not a model; x.mag stands beside it.
class GameFolder : public ::testing::Test {
protected:
    void SetUp() override {
        saveModelAt(folder_, "game/a.mag", modelOf(1));
        saveModelAt(folder_, "game/sub/B.MAG", modelOf(2));
        writeFile(folder_.file("game/sub/broken.mag"), std::string("MAG4 is not MAG5"));
        saveModelAt(folder_, "game/sub/deeper/c.Mag", modelOf(3));
        writeFile(folder_.file("game/notes.txt"), std::string("not a model"));
        saveModelAt(folder_, "x.mag", modelOf(4));
    }

    // The run's standard output and error as expected: the models' blocks
    // in name order below the folder, then x.mag, whatever order they end in.
    void expectReports(const CommandResult& result) {
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, outputText(std::string(kBanner) + blockOf(1) + blockOf(2) + blockOf(3) + blockOf(4)));
        EXPECT_EQ(result.err, outputText("converted 4 of 5 models\nzelvane: game/sub/broken.mag: not a MAG5 file\n"));
    }

    TempFolder folder_;
};

TEST_F(GameFolder, OutputsBesideEachModel) {
    expectReports(runZelvaneIn(folder_, {"--each", "game", "x.mag"}));
    for (const char* name : {"game/a.obj", "game/a.mtl", "game/sub/B.obj", "game/sub/deeper/c.mtl", "x.obj"}) {
        EXPECT_TRUE(exists(folder_, name)) << name;
    }
    EXPECT_FALSE(exists(folder_, "game/sub/broken.obj"));
    EXPECT_FALSE(exists(folder_, "game/sub/broken.mtl"));
}

TEST_F(GameFolder, OutputsUnderAnOutputFolderKeepTheTree) {
    expectReports(runZelvaneIn(folder_, {"game", "--output-dir", "out/new", "x.mag", "--each"}));
    for (const char* name : {"out/new/a.obj", "out/new/sub/B.mtl", "out/new/sub/deeper/c.obj", "out/new/x.obj"}) {
        EXPECT_TRUE(exists(folder_, name)) << name;
    }
    EXPECT_FALSE(exists(folder_, "out/new/sub/broken.obj"));
    EXPECT_EQ(folderContents(folder_.file("game")).size(), 2u);  // a.mag and notes.txt, nothing written
    // The library is named beside its OBJ file.
    EXPECT_TRUE(readFile(folder_.file("out/new/sub/B.obj")).starts_with(outputText("mtllib B.mtl\n")));
}

TEST_F(GameFolder, OneCoreGivesTheSameRun) {
    if (underRunner()) {
        GTEST_SKIP() << "taskset runs programs of this system";
    }
    std::vector<std::string> arguments{"-c", "0", ZELVANE_BIN, "--each", "game", "x.mag"};
    expectReports(runProgram("/usr/bin/taskset", arguments, folder_.path()));
    EXPECT_TRUE(exists(folder_, "game/sub/deeper/c.obj"));
}

TEST_F(GameFolder, ModelsWithOneOutputNameAreNotBothWritten) {
    saveModelAt(folder_, "other/a.MAG", modelOf(5));
    const CommandResult result = runZelvaneIn(folder_, {"--each", "game/a.mag", "other/a.MAG", "--output-dir", "out"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, outputText(std::string(kBanner) + blockOf(1)));
    EXPECT_EQ(result.err, outputText("converted 1 of 2 models\n"
                                     "zelvane: other/a.MAG: its outputs would replace those of game/a.mag\n"));
    const std::vector<std::string> lines = outputLines(readFile(folder_.file("out/a.obj")));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return line.starts_with("f "); }),
              1)
        << "the first model's one face, not the other's five";
}

TEST_F(GameFolder, WithoutEachAFolderIsNoModel) {
    const CommandResult result = runZelvaneIn(folder_, {"game", "--output-dir", "out"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, outputText("zelvane: game: Is a directory\n"));
    const CommandResult together = runZelvaneIn(folder_, {"game/a.mag", "x.mag", "--output-dir", "out"});
    EXPECT_EQ(together.status, 0) << together.err;
    EXPECT_TRUE(exists(folder_, "out/x.obj"));
    EXPECT_FALSE(exists(folder_, "out/a.obj"));
}

// Windows' command shell expands no wildcards: the converter does.
TEST_F(GameFolder, WildcardsOnWindows) {
    if (!underRunner()) {
        GTEST_SKIP() << "the shell expands wildcards here";
    }
    const CommandResult result = runZelvaneIn(folder_, {"--each", "game\\sub\\*.mag", "x.ma?"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, outputText(std::string(kBanner) + blockOf(2) + blockOf(4)));
    EXPECT_TRUE(exists(folder_, "game/sub/B.obj"));
    EXPECT_TRUE(exists(folder_, "x.obj"));
}

}  // namespace
}  // namespace zelvane::test
