// Pictures of models: --preview beside the outputs of every format,
// --thumbnail alone, their sizes and failures, and the same bytes however
// the run goes (one worker or two, the Linux or the Windows build).
#include <gtest/gtest.h>

#include <filesystem>

#include "Pixels.h"
#include "Zelvane.h"

namespace zelvane::test {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kHouseFiles = {"house.mag", "brick.pcx", "roof_tiles.pcx", "planks.pcx",
                                              "window.pcx"};

void copyHouse(const TempFolder& folder, const std::string& subfolder = "") {
    const fs::path examples = fs::path(ZELVANE_SAMPLE).parent_path();
    fs::create_directories(folder.file(subfolder));
    for (const std::string& name : kHouseFiles) {
        fs::copy_file(examples / name, fs::path(folder.file(subfolder)) / name);
    }
}

// An RGBA PNG of the given form ("PNG 512 512 RGBA"), as Pillow reads it,
// with some pixels drawn.
void expectPicture(const std::string& path, const std::string& form) {
    const std::string summary = imageSummary(path);
    EXPECT_TRUE(summary.starts_with(form + " ") && !summary.ends_with(" 0")) << path << ": " << summary;
}

std::map<std::string, std::string> withoutPicture(std::map<std::string, std::string> files) {
    files.erase("house.preview.png");
    return files;
}

// With every format the picture comes beside the outputs, which are those
// the run with --textures writes, and standard output is as without it.
TEST(Preview, ComesBesideTheOutputsOfEveryFormat) {
    for (const char* format : {"", "-quazo", "--glb", "--gltf"}) {
        SCOPED_TRACE(std::string("format '") + format + "'");
        TempFolder plain;
        TempFolder drawn;
        copyHouse(plain);
        copyHouse(drawn);
        std::vector<std::string> arguments{"house.mag", "--textures"};
        if (*format != '\0') arguments.push_back(format);
        const CommandResult without = runZelvaneIn(plain, arguments);
        arguments.push_back("--preview");
        const CommandResult with = runZelvaneIn(drawn, arguments);
        ASSERT_EQ(with.status, 0) << with.err;
        EXPECT_EQ(with.out, without.out);
        EXPECT_EQ(with.err, "");
        expectPicture(drawn.file("house.preview.png"), "PNG 512 512 RGBA");
        if (std::string(format) == "--glb") {  // no group identifiers, which differ from run to run
            EXPECT_TRUE(withoutPicture(folderContents(drawn.path())) == folderContents(plain.path()));
        }
    }
}

TEST(Preview, SizeFromSixteenToFourThousandNinetySixPixels) {
    TempFolder folder;
    copyHouse(folder);
    const CommandResult small = runZelvaneIn(folder, {"--preview-size", "16", "house.mag"});
    ASSERT_EQ(small.status, 0) << small.err;
    expectPicture(folder.file("house.preview.png"), "PNG 16 16 RGBA");
    for (const char* size : {"15", "4097", "512px", "-512", ""}) {
        TempFolder refused;
        copyHouse(refused);
        const CommandResult run = runZelvaneIn(refused, {"house.mag", "--preview-size", size});
        EXPECT_EQ(run.status, 1) << size;
        EXPECT_EQ(run.err, outputText("zelvane: --preview-size needs a size in pixels from 16 to 4096\n")) << size;
        EXPECT_EQ(folderContents(refused.path()).size(), kHouseFiles.size()) << size;
    }
}

// The picture takes its name first: an image of a texture that would get it
// takes the next, and a picture that cannot be written leaves every file as
// it was.
TEST(Preview, IsAnOutputLikeTheOthers) {
    TempFolder folder;
    copyHouse(folder);
    Mag5ModelSpec model = smallModel();
    model.textures[1] = "house.preview.pcx";
    saveModel(model, folder.file("house.mag"));
    fs::copy_file(folder.file("brick.pcx"), folder.file("house.preview.pcx"));
    ASSERT_EQ(runZelvaneIn(folder, {"house.mag", "--preview"}).status, 0);
    EXPECT_TRUE(samePixels(folder.file("house.preview-2.png"), folder.file("house.preview.pcx")));
    expectPicture(folder.file("house.preview.png"), "PNG 512 512 RGBA");

    TempFolder blocked;
    copyHouse(blocked);
    fs::create_directory(blocked.file("house.preview.png"));
    const auto before = folderContents(blocked.path());
    const CommandResult run = runZelvaneIn(blocked, {"house.mag", "--preview", "--glb"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(outputLines(run.err).back().starts_with("zelvane: house.preview.png: ")) << run.err;
    EXPECT_TRUE(folderContents(blocked.path()) == before);
}

// What a file manager runs: the picture alone, nothing printed, no other
// file; the same picture as --preview draws at that size.
TEST(Thumbnail, WritesThePictureAndNothingElse) {
    TempFolder folder;
    copyHouse(folder, "models");
    fs::create_directory(folder.file("cache"));
    const auto before = folderContents(folder.file("models"));
    const CommandResult run = runZelvaneIn(folder, {"--thumbnail", "128", "models/house.mag", "cache/house.png"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(folderContents(folder.file("models")) == before);
    EXPECT_EQ(folderContents(folder.file("cache")).size(), 1u);
    expectPicture(folder.file("cache/house.png"), "PNG 128 128 RGBA");
    ASSERT_EQ(runZelvaneIn(folder, {"models/house.mag", "--preview-size", "128"}).status, 0);
    EXPECT_EQ(readFile(folder.file("cache/house.png")), readFile(folder.file("models/house.preview.png")));
}

TEST(Thumbnail, FailsWithItsLineAndNoPicture) {
    TempFolder folder;
    copyHouse(folder);
    const std::string house = readFile(folder.file("house.mag"));
    writeFile(folder.file("cut.mag"), house.substr(0, house.size() / 2));
    const CommandResult cut = runZelvaneIn(folder, {"--thumbnail", "64", "cut.mag", "cut.png"});
    EXPECT_EQ(cut.status, 2);
    EXPECT_EQ(cut.out, "");
    ASSERT_EQ(outputLines(cut.err).size(), 1u) << cut.err;
    EXPECT_TRUE(cut.err.starts_with("zelvane: cut.mag: ")) << cut.err;
    EXPECT_FALSE(fs::exists(folder.file("cut.png")));
    const std::vector<std::vector<std::string>> misuses = {
        {"--thumbnail", "64", "house.mag"}, {"--thumbnail", "8", "house.mag", "h.png"}, {"house.mag", "--thumbnail"}};
    for (const std::vector<std::string>& arguments : misuses) {
        const CommandResult run = runZelvaneIn(folder, arguments);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_FALSE(fs::exists(folder.file("h.png")));
    }
}

// Pictures of models converted side by side, on two workers and on one,
// and alone (drawn while the other outputs are written), and by the Linux
// build when the Windows one is under test: the same bytes; and so are the
// PNG files made of the house's textures.
std::map<std::string, std::string> picturesAndTextures(const TempFolder& folder) {
    std::map<std::string, std::string> files{{"house", readFile(folder.file("game/town/house.preview.png"))},
                                             {"small", readFile(folder.file("game/small.preview.png"))}};
    for (const char* texture : {"brick", "roof_tiles", "planks", "window"}) {
        files[texture] = readFile(folder.file(std::string("game/town/") + texture + ".png"));
    }
    return files;
}

TEST(Preview, SameBytesWhateverTheRun) {
    TempFolder folder;
    copyHouse(folder, "game/town");
    saveModel(smallModel(), folder.file("game/small.mag"));
    const std::vector<std::string> arguments{"--each", "game", "--preview", "--preview-size", "200", "--textures"};
    std::vector<std::map<std::string, std::string>> runs;
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(runZelvaneIn(folder, arguments).status, 0);
        runs.push_back(picturesAndTextures(folder));
    }
    std::vector<std::string> oneCore{"-c", "0", ZELVANE_BIN};
    oneCore.insert(oneCore.end(), arguments.begin(), arguments.end());
    ASSERT_EQ(runProgram("/usr/bin/taskset", oneCore, folder.path()).status, 0);  // the Linux build, one worker
    runs.push_back(picturesAndTextures(folder));
    for (const char* model : {"game/town/house.mag", "game/small.mag"}) {  // drawn while the OBJ is written
        fs::remove(folder.file(fs::path(model).replace_extension(".preview.png").string()));
        ASSERT_EQ(runZelvaneIn(folder, {model, "--preview", "--preview-size", "200", "--textures"}).status, 0);
    }
    runs.push_back(picturesAndTextures(folder));
    EXPECT_TRUE(runs[0] == runs[1]);
    EXPECT_TRUE(runs[0] == runs[2]);
    EXPECT_TRUE(runs[0] == runs[3]);
    EXPECT_NE(runs[0]["house"], runs[0]["small"]);
    EXPECT_FALSE(runs[0]["brick"].empty());
}

}  // namespace
}  // namespace zelvane::test
