// Models given as OBJ or glTF, told apart by their content; MAG5 written
// back with its images as PCX files; and no output ever written over a file
// the run reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Mag5Reading.h"
#include "PillowReader.h"
#include "SmallModelOutputs.h"
#include "Zelvane.h"
#include "image/ImageCodec.h"

namespace zelvane::test {
namespace {

// smallModel() converted to OBJ and MTL in folder, as small.obj and small.mtl.
void writeSmallObj(const TempFolder& folder) {
    saveModel(smallModel(), folder.file("small.mag"));
    ASSERT_EQ(runZelvaneIn(folder, {"small.mag"}).status, 0);
    std::filesystem::remove(folder.file("small.mag"));
}

// Read back as it was written, an OBJ file gives the same OBJ file again,
// and standard output the last line of the load report.
TEST(ModelInput, ObjGivesBackTheObjItCameFrom) {
    TempFolder folder;
    writeSmallObj(folder);
    const CommandResult result = runZelvaneIn(folder, {"small.obj", "--output-dir", "again"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, outputText(std::string(kBanner) + "pc: 2 tpc:1 qpc: 1\nobj pcount: 2\n"));
    const auto files = folderContents(folder.file("again"));
    GroupIdNames ids;
    EXPECT_EQ(ids.replaceIn(files.at("small.obj")), outputText(smallObj("small.mtl")));
    EXPECT_EQ(ids.replaceIn(files.at("small.mtl")), outputText(kSmallMtl));
}

// The content decides, whatever the name says: MAG5 and .glb by their
// magic, a glTF document by being a JSON object; only OBJ, which has no
// magic, goes by its name.
TEST(ModelInput, TheFormatIsToldByTheContent) {
    TempFolder folder;
    writeSmallObj(folder);
    ASSERT_EQ(runZelvaneIn(folder, {"small.obj", "--glb", "--output-dir", "glb"}).status, 0);
    ASSERT_EQ(runZelvaneIn(folder, {"small.obj", "--gltf", "--output-dir", "gltf"}).status, 0);
    std::filesystem::copy_file(folder.file("glb/small.glb"), folder.file("binary.mag"));
    writeFile(folder.file("document.txt"), "\xEF\xBB\xBF \n\t" + readFile(folder.file("gltf/small.gltf")));
    std::filesystem::copy_file(folder.file("gltf/small.bin"), folder.file("small.bin"));
    std::filesystem::copy_file(folder.file("small.obj"), folder.file("UPPER.OBJ"));
    std::filesystem::copy_file(folder.file("small.obj"), folder.file("obj.txt"));
    const std::vector<std::pair<std::string, std::string>> cases{
        {"binary.mag", "pc: 3 tpc:3 qpc: 0\n"},
        {"document.txt", "pc: 3 tpc:3 qpc: 0\n"},
        {"UPPER.OBJ", "pc: 2 tpc:1 qpc: 1\n"},
    };
    for (const auto& [model, report] : cases) {
        const CommandResult result = runZelvaneIn(folder, {model, "--output-dir", "out"});
        EXPECT_EQ(result.status, 0) << model << ": " << result.err;
        EXPECT_NE(result.out.find(outputText(report)), std::string::npos) << model << ": " << result.out;
    }
    const CommandResult text = runZelvaneIn(folder, {"obj.txt", "--output-dir", "out"});
    EXPECT_EQ(text.status, 2);
    EXPECT_EQ(text.err, outputText("zelvane: obj.txt: not a MAG5 file\n"));
}

// An output that would replace a file the run reads fails before anything
// is written: the model itself, its material library, its glTF buffer, or
// with --each another model of the run.
TEST(ModelInput, NoOutputReplacesAFileTheRunReads) {
    TempFolder folder;
    writeSmallObj(folder);
    saveModel(smallModel(), folder.file("house.mag"));
    ASSERT_EQ(runZelvaneIn(folder, {"small.obj", "--gltf", "--output-dir", "g"}).status, 0);
    const std::string kRefusal = ": is read by this run and cannot be written too (--output-dir writes the outputs elsewhere)\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"house.mag", "--mag5"}, "house.mag"},
        {{"small.obj"}, "small.obj"},
        {{"g/small.gltf", "--gltf"}, "g/small.gltf"},
        {{"--each", "house.mag", "house.obj", "small.obj"}, "house.obj"},
    };
    for (const auto& [arguments, refused] : cases) {
        if (arguments[0] == "--each") {
            std::filesystem::copy_file(folder.file("small.obj"), folder.file("house.obj"));
        }
        const auto before = folderContents(folder.path());
        const CommandResult result = runZelvaneIn(folder, arguments);
        EXPECT_EQ(result.status, 2) << refused;
        EXPECT_NE(result.err.find(outputText("zelvane: " + refused + kRefusal)), std::string::npos) << result.err;
        if (arguments[0] != "--each") {  // there the other models are converted
            EXPECT_EQ(folderContents(folder.path()), before) << refused;
        }
    }
    EXPECT_EQ(runZelvaneIn(folder, {"house.mag", "--mag5", "--output-dir", "game"}).status, 0);
}

// A texture name longer than the 32 bytes a MAG5 file holds.
TEST(ModelInput, AMag5FileRefusesATextureNameLongerThan32Bytes) {
    TempFolder folder;
    const std::string name(33, 'n');
    writeFile(folder.file("long.obj"), "mtllib long.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl a\nf 1 2 3\n");
    writeFile(folder.file("long.mtl"), "newmtl a\nKd 1 1 1\nmap_Kd " + name + "\n");
    const CommandResult result = runZelvaneIn(folder, {"long.obj", "--mag5", "--output-dir", "game"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, outputText("zelvane: game/long.mag: texture name " + name + " is longer than 32 bytes\n"));
    EXPECT_FALSE(std::filesystem::exists(folder.file("game/long.mag")));
}

// Faces of fewer than three corners are left out with a warning, as is a
// material library that is not there.
TEST(ModelInput, WhatAnObjFileLosesIsReported) {
    TempFolder folder;
    writeFile(folder.file("short.obj"), "mtllib gone.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 2\nf 3\n");
    const CommandResult result = runZelvaneIn(folder, {"short.obj", "--mag5", "--output-dir", "game"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, outputText("zelvane: short.obj: material library gone.mtl: not found (looked in .)\n"
                                     "zelvane: short.obj: 2 faces of fewer than three corners left out\n"));
    EXPECT_EQ(result.out, outputText(std::string(kBanner) + "pc: 3 tpc:1 qpc: 0\nmag5 pcount: 1\n"));
    EXPECT_EQ(readMag5(folder.file("game/short.mag")).polygons.size(), 1u);
}

// With --textures, a MAG5 file's images are written beside it as 8-bit PCX
// files under the names its texture table gives: a true-colour image with
// its colours, transparency dropped with a warning.
TEST(ModelInput, TexturesGoBackToTheGameAsPcxFiles) {
    TempFolder folder;
    Image image{3, 2, PixelFormat::kRgba, {}, {}};
    for (uint8_t k = 0; k < 6; ++k) {
        image.pixels.insert(image.pixels.end(), {uint8_t(40 * k), 200, uint8_t(255 - k), uint8_t(k == 4 ? 128 : 255)});
    }
    writeFile(folder.file("see-through.png"), encodePng(image));
    writeFile(folder.file("glass.obj"), "mtllib glass.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nusemtl a\nf 1/1 2/1 3/1\n");
    writeFile(folder.file("glass.mtl"), "newmtl a\nKd 1 1 1\nmap_Kd see-through.png\n");
    const CommandResult result = runZelvaneIn(folder, {"glass.obj", "--mag5", "--textures", "--output-dir", "game"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, outputText("zelvane: glass.obj: texture see-through.png: transparency dropped: "
                                     "an 8-bit PCX image has none\n"));
    const Mag5Reading written = readMag5(folder.file("game/glass.mag"));
    EXPECT_EQ(written.textures, std::vector<std::string>{"see-through.pcx"});
    const std::vector<PillowImage> read = readWithPillow({folder.file("game/see-through.pcx")});
    ASSERT_TRUE(read[0].ok) << read[0].error;
    EXPECT_EQ(read[0].mode, "P");
    for (size_t pixel = 0; pixel < 6; ++pixel) {
        for (size_t channel = 0; channel < 3; ++channel) {
            EXPECT_EQ(read[0].rgba[4 * pixel + channel], image.pixels[4 * pixel + channel]) << pixel;
        }
    }
    EXPECT_EQ(folderContents(folder.file("game")).size(), 2u);
}

// Broken OBJ and glTF files: one line naming the file and what is wrong,
// status 2, nothing written (the sanitizer build runs the same files).
TEST(ModelInput, HostileFilesFailWithOneLineAndNothingWritten) {
    TempFolder folder;
    writeSmallObj(folder);
    ASSERT_EQ(runZelvaneIn(folder, {"small.obj", "--glb", "--output-dir", "g"}).status, 0);
    const std::string glb = readFile(folder.file("g/small.glb"));
    writeFile(folder.file("cut.glb"), glb.substr(0, glb.size() / 2));
    writeFile(folder.file("infinite.obj"), "v 0 0 1e999\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    writeFile(folder.file("range.obj"), "v 0 0 0\nf 1 2 3\n");
    writeFile(folder.file("above.gltf"),
              R"({"asset":{"version":"2.0"},"buffers":[{"byteLength":4,"uri":"../secret.bin"}]})");
    writeFile(folder.file("huge.gltf"),
              R"({"asset":{"version":"2.0"},"buffers":[{"byteLength":4,"uri":"data:application/octet-stream;base64,AAAAAA=="}],)"
              R"("bufferViews":[{"buffer":0,"byteLength":4}],"accessors":[{"bufferView":0,"componentType":5126,"type":"VEC3","count":4000000000}],)"
              R"("meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}],"nodes":[{"mesh":0}],"scenes":[{"nodes":[0]}]})");
    const std::vector<std::pair<std::string, std::string>> cases{
        {"cut.glb", "cut.glb: not a readable glTF file"},
        {"infinite.obj", "infinite.obj: vertex 0 has a position that is not a finite number"},
        {"range.obj", "range.obj: face 0 refers to vertex 2, but the file has 1 vertices"},
        {"above.gltf", "above.gltf: buffer ../secret.bin: "},
        {"huge.gltf", "huge.gltf: accessor 0 reaches beyond its buffer"},
    };
    for (const auto& [model, words] : cases) {
        for (const std::string format : {"--obj", "--glb", "--mag5"}) {
            std::vector<std::string> arguments{model, "--output-dir", "out"};
            if (format != "--obj") {
                arguments.push_back(format);
            }
            const CommandResult result = runZelvaneIn(folder, arguments);
            EXPECT_EQ(result.status, 2) << model << " " << format;
            EXPECT_EQ(result.err.rfind(outputText("zelvane: " + words), 0), 0u) << result.err;
            EXPECT_EQ(splitLines(result.err).size(), 1u) << result.err;
            EXPECT_TRUE(folderContents(folder.file("out")).empty()) << model << " " << format;
        }
    }
}

}  // namespace
}  // namespace zelvane::test
