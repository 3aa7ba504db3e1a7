#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "Pixels.h"
#include "Zelvane.h"
#include "image/ImageCodec.h"
#include "imagewriter/PcxWriter.h"

namespace zelvane::test {
namespace {

// A small paletted image whose pixels depend on seed.
Image palettedImage(uint32_t width, uint32_t height, uint8_t seed) {
    Image image;
    image.width = width;
    image.height = height;
    image.format = PixelFormat::kPaletted;
    for (unsigned index = 0; index < 16; ++index) {
        image.palette.push_back({static_cast<uint8_t>(index * 16), static_cast<uint8_t>(seed * 7 + index),
                                 static_cast<uint8_t>(255 - index * 9)});
    }
    for (uint32_t pixel = 0; pixel < width * height; ++pixel) {
        image.pixels.push_back(static_cast<uint8_t>((pixel / 3 + seed) % 16));
    }
    return image;
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    writeFile(path, bytes);
}

void writePcx(const std::string& path, uint8_t seed) {
    writeBytes(path, tools::encodePcx(palettedImage(7 + seed, 5, seed), tools::PcxWriteForm::kIndexed));
}

// A model with one textured triangle for each texture name, so that each
// texture is a group of its own, in the names' order.
void saveTexturedModel(const std::string& path, const std::vector<std::string>& textures) {
    Mag5ModelSpec model;
    model.textures = textures;
    model.vertices = {vertexAt(0, 0, 0), vertexAt(1, 0, 0), vertexAt(0, 1, 0)};
    for (size_t index = 0; index < textures.size(); ++index) {
        model.polygons.push_back(polygonOver({0, 1, 2}, static_cast<int32_t>(index)));
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    saveModel(model, path);
}

// The values of every line of text that starts with prefix, in order.
std::vector<std::string> valuesAfter(const std::string& text, const std::string& prefix, const std::string& end = "") {
    std::vector<std::string> values;
    for (const std::string& line : outputLines(text)) {
        if (const size_t at = line.find(prefix); at != std::string::npos) {
            const std::string rest = line.substr(at + prefix.size());
            values.push_back(end.empty() ? rest : rest.substr(0, rest.find(end)));
        }
    }
    return values;
}

// Every file below a folder, by path, with its contents.
std::map<std::string, std::string> treeContents(const std::string& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            contents[entry.path().string()] = readFile(entry.path().string());
        }
    }
    return contents;
}

const std::vector<std::string> kNames = {
    "TEX\\Brick.PCX",  // in tex/brick.pcx: another case, the other separator
    "roof.pcx",        // only in the texture folder, as ROOF.PCX
    "../secret.pcx",   // refused, though the file is there
    "missing.pcx",
    "broken.pcx",      // a PCX header and nothing after it
    "a/wood.pcx",      // two images that would both be wood.png
    "b/wood.pcx",
    "photo.png",       // taken as it is, and already beside the outputs
    "tex/BRICK.pcx",   // the same file as the first
};

class TexturedFolder : public ::testing::Test {
protected:
    void SetUp() override {
        saveTexturedModel(folder_.file("game/models/house.mag"), kNames);
        writePcx(folder_.file("game/models/tex/brick.pcx"), 1);
        writePcx(folder_.file("game/shared/ROOF.PCX"), 2);
        writePcx(folder_.file("game/secret.pcx"), 3);
        writeBytes(folder_.file("game/models/broken.pcx"), std::vector<uint8_t>{0x0A, 5, 1, 8, 0, 0});
        writePcx(folder_.file("game/models/a/wood.pcx"), 4);
        writePcx(folder_.file("game/models/b/wood.pcx"), 5);
        writeBytes(folder_.file("game/models/photo.png"), encodePng(palettedImage(3, 3, 6)));
        sources_ = treeContents(folder_.path());
    }

    CommandResult convert(const std::vector<std::string>& options) {
        std::vector<std::string> arguments{"game/models/house.mag", "--texture-dir", "game/shared"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return runZelvaneIn(folder_, arguments);
    }

    void expectSourcesUntouched() {
        const auto now = treeContents(folder_.path());
        for (const auto& [path, bytes] : sources_) {
            ASSERT_EQ(now.count(path), 1u) << path;
            EXPECT_EQ(now.at(path), bytes) << path;
        }
    }

    std::string models(const std::string& name) const { return folder_.file("game/models/" + name); }

    TempFolder folder_;
    std::map<std::string, std::string> sources_;
};

const std::vector<std::string> kReferences = {"Brick.png", "roof.png",  "../secret.pcx", "missing.pcx", "broken.pcx",
                                              "wood.png",  "wood-2.png", "photo.png",    "Brick.png"};

TEST_F(TexturedFolder, ImagesAreFoundConvertedAndNamedInTheMaterials) {
    const CommandResult result = convert({"--textures"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(valuesAfter(result.out, "obj pcount: "), std::vector<std::string>{"9"});
    const std::vector<std::string> warnings = outputLines(result.err);
    ASSERT_EQ(warnings.size(), 3u) << result.err;
    const std::string looked = " (looked in game/models/, game/shared)";
    const std::string model = "zelvane: game/models/house.mag: texture ";
    EXPECT_EQ(warnings[0],
              model + "../secret.pcx: a name that leads out of its folder (\"..\") is not looked up" + looked);
    EXPECT_EQ(warnings[1], model + "missing.pcx: not found" + looked);
    EXPECT_TRUE(warnings[2].starts_with(model + "broken.pcx: ") && warnings[2].ends_with(looked)) << warnings[2];

    EXPECT_EQ(valuesAfter(readFile(models("house.mtl")), "map_Kd "), kReferences);
    const auto written = folderContents(folder_.file("game/models"));
    for (const char* name : {"house.mag", "house.obj", "house.mtl", "broken.pcx", "photo.png", "Brick.png", "roof.png",
                             "wood.png", "wood-2.png"}) {
        EXPECT_EQ(written.count(name), 1u) << name;
    }
    EXPECT_EQ(written.size(), 9u);
    EXPECT_TRUE(samePixels(models("Brick.png"), models("tex/brick.pcx")));
    EXPECT_TRUE(samePixels(models("roof.png"), folder_.file("game/shared/ROOF.PCX")));
    EXPECT_TRUE(samePixels(models("wood.png"), models("a/wood.pcx")));
    EXPECT_TRUE(samePixels(models("wood-2.png"), models("b/wood.pcx")));
    expectSourcesUntouched();
}

TEST_F(TexturedFolder, TheSceneNamesTheSameImages) {
    const CommandResult result = convert({"-quazo", "--textures"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(outputLines(result.err).size(), 3u) << result.err;
    EXPECT_EQ(valuesAfter(readFile(models("house.xml")), "<ImageTexture href=\"", "\""), kReferences);
    EXPECT_TRUE(samePixels(models("wood-2.png"), models("b/wood.pcx")));
    expectSourcesUntouched();
}

TEST_F(TexturedFolder, WithoutTheOptionNoImageIsLookedAt) {
    const CommandResult result = runZelvaneIn(folder_, {"game/models/house.mag"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(valuesAfter(readFile(models("house.mtl")), "map_Kd "), kNames);
    EXPECT_EQ(folderContents(folder_.file("game/models")).size(), 5u);  // the model, its outputs, two sources
}

// Images are outputs like the others: when one cannot be written, none of
// the outputs appears.
TEST_F(TexturedFolder, AnImageThatCannotBeWrittenLeavesEverythingAsItWas) {
    std::filesystem::create_directory(models("roof.png"));
    const CommandResult result = convert({"--textures"});
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(outputLines(result.err).back().starts_with("zelvane: game/models/roof.png: ")) << result.err;
    EXPECT_EQ(folderContents(folder_.file("game/models")).size(), 3u);  // the model and two sources
    expectSourcesUntouched();
}

// A warning names the model that brought the texture's name, whether the
// models are converted into one or each on its own.
TEST(TextureWarnings, NameTheirModel) {
    TempFolder folder;
    saveTexturedModel(folder.file("town/inn.mag"), {"brick.pcx"});
    saveTexturedModel(folder.file("town/well.mag"), {"stone.pcx", "brick.pcx"});
    const std::string inn = "zelvane: town/inn.mag: texture brick.pcx: not found (looked in town/)";
    const std::string well = "zelvane: town/well.mag: texture stone.pcx: not found (looked in town/)";
    const CommandResult together = runZelvaneIn(folder, {"town/inn.mag", "town/well.mag", "--textures"});
    EXPECT_EQ(together.status, 0) << together.err;
    EXPECT_EQ(outputLines(together.err), (std::vector<std::string>{inn, well}));
    const CommandResult each = runZelvaneIn(folder, {"--each", "town/inn.mag", "town/well.mag", "--glb"});
    EXPECT_EQ(each.status, 0) << each.err;
    EXPECT_EQ(outputLines(each.err),
              (std::vector<std::string>{inn, well, "zelvane: town/well.mag: texture brick.pcx: not found (looked in town/)",
                                        "converted 2 of 2 models"}));
}

// Every file below a folder, by its path there, with its contents.
std::map<std::string, std::string> filesBelow(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& [path, contents] : treeContents(folder)) {
        files[std::filesystem::relative(path, folder).generic_string()] = contents;
    }
    return files;
}

// A run over a folder converts each image file once for all its models (see
// TextureCache), and still gives every model the outputs a run of its own
// gives it, byte for byte: the .glb with the images it holds, or the PNG
// files beside an OBJ, and the picture. The gallery shows every picture.
TEST(GameFolderTextures, SharedImagesGiveWhatSeparateRunsGive) {
    TempFolder folder;
    writePcx(folder.file("tex/stone.pcx"), 1);
    writePcx(folder.file("tex/wood.pcx"), 2);
    writeBytes(folder.file("tex/grass.png"), encodePng(palettedImage(6, 4, 3)));
    const std::vector<std::pair<std::string, std::vector<std::string>>> models{
        {"hut", {"stone.pcx", "wood.pcx"}},
        {"sub/barn", {"WOOD.PCX", "grass.png"}},
        {"sub/well", {"stone.pcx"}},
        {"wall", {"stone.pcx", "grass.png", "missing.pcx"}}};
    for (const auto& [name, textures] : models) {
        saveTexturedModel(folder.file("game/" + name + ".mag"), textures);
    }
    for (const std::string format : {"--glb", "--textures"}) {
        SCOPED_TRACE(format);
        const std::string each = "each" + format, alone = "alone" + format;
        const std::vector<std::string> options{format, "--texture-dir", "tex", "--preview"};
        std::vector<std::string> arguments{"--each", "game", "--output-dir", each, "--gallery", each + "/index.html"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        EXPECT_EQ(runZelvaneIn(folder, arguments).status, 0);
        for (const auto& [name, textures] : models) {
            arguments = {"game/" + name + ".mag", "--output-dir",
                         alone + "/" + std::filesystem::path(name).parent_path().string()};
            arguments.insert(arguments.end(), options.begin(), options.end());
            EXPECT_EQ(runZelvaneIn(folder, arguments).status, 0);
        }
        std::map<std::string, std::string> together = filesBelow(folder.file(each));
        const std::string gallery = together["index.html"];
        together.erase("index.html");
        const std::map<std::string, std::string> separate = filesBelow(folder.file(alone));
        ASSERT_EQ(together.size(), separate.size());
        EXPECT_GE(together.size(), 8u);  // each model's outputs and picture
        for (const auto& [path, contents] : separate) {
            // The OBJ writer names materials after where they lie in memory.
            if (!path.ends_with(".obj") && !path.ends_with(".mtl")) {
                EXPECT_TRUE(together[path] == contents) << path;
            }
        }
        for (const auto& [name, textures] : models) {
            EXPECT_NE(gallery.find(name + ".preview.png"), std::string::npos) << name;
        }
    }
}

}  // namespace
}  // namespace zelvane::test
