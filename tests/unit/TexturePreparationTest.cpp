// Finding, converting and naming the images of a store's textures, in
// folders the tests lay out, without the command line.
#include <gtest/gtest.h>

#include <filesystem>

#include "Files.h"
#include "TempFolder.h"
#include "image/ImageCodec.h"
#include "imagewriter/PcxWriter.h"
#include "imagewriter/TgaWriter.h"
#include "textures/TextureFileOutput.h"
#include "textures/TexturePreparation.h"

namespace zelvane {
namespace {

using namespace test;

Image smallImage(uint8_t seed) {
    Image image;
    image.width = 3 + seed;
    image.height = 2;
    image.format = PixelFormat::kRgb;
    for (uint32_t pixel = 0; pixel < image.width * image.height; ++pixel) {
        image.pixels.insert(image.pixels.end(), {seed, static_cast<uint8_t>(pixel * 20), 200});
    }
    return image;
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    writeFile(path, bytes);
}

void writePcx(const std::string& path, uint8_t seed) {
    writeBytes(path, tools::encodePcx(smallImage(seed), tools::PcxWriteForm::kRgb));
}

// A store with a textured triangle for each name, a group each, in order,
// and an untextured one.
MeshStore storeNaming(const std::vector<std::string>& names) {
    MeshStore store;
    for (const Vector3& position : std::vector<Vector3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}) {
        store.addVertex(position, {0, 0, 1});
    }
    for (const std::string& name : names) {
        store.addTriangle({0, 1, 2}, Material{store.addTexture(name), {1, 1, 1, 1}}, {0, 1, 0}, {0, 0, 1});
    }
    store.addTriangle({0, 1, 2}, Material{kTextureNone, {1, 0, 0, 1}}, {}, {});
    store.mergeDuplicates();
    store.groupByMaterial();
    return store;
}

class TextureFolder : public ::testing::Test {
protected:
    // The model's folder models/ (also where the outputs go) and a texture folder shared/.
    TextureSearch search(size_t textureCount) const {
        TextureSearch search;
        search.modelFolders.assign(textureCount, folder_.file("models/"));
        search.extraFolders = {folder_.file("shared")};
        search.outputFolder = folder_.file("models/");
        return search;
    }

    TempFolder folder_;
};

TEST_F(TextureFolder, ImagesAreFoundConvertedAndNamedOnce) {
    writePcx(folder_.file("models/tex/brick.pcx"), 1);
    writePcx(folder_.file("shared/ROOF.PCX"), 2);
    writePcx(folder_.file("models/a/wood.pcx"), 3);
    writePcx(folder_.file("models/b/wood.pcx"), 4);
    const std::vector<uint8_t> photo = encodePng(smallImage(5));
    writeBytes(folder_.file("models/photo.png"), photo);
    const MeshStore store =
        storeNaming({"TEX\\Brick.PCX", "roof.pcx", "a/wood.pcx", "b/WOOD.pcx", "photo.png", "tex/BRICK.pcx"});
    std::vector<TextureWarning> warnings;
    const TextureFiles textures = prepareTextureFiles(store, search(store.textures.size()), warnings);
    EXPECT_TRUE(warnings.empty());
    std::vector<std::string> names;
    for (uint32_t texture = 1; texture < store.textures.size(); ++texture) {
        ASSERT_NE(textures.fileFor(texture), nullptr) << store.textures[texture];
        names.push_back(textures.fileFor(texture)->fileName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Brick.png", "roof.png", "wood.png", "WOOD-2.png", "photo.png",
                                               "Brick.png"}));
    EXPECT_EQ(textures.files.size(), 5u);  // two spellings of one file share it
    EXPECT_EQ(textures.fileFor(1), textures.fileFor(6));
    const TextureFile& copy = *textures.fileFor(5);
    EXPECT_TRUE(copy.inPlace);
    EXPECT_EQ(copy.bytes(), photo);
    EXPECT_EQ(textures.fileFor(2)->mimeType(), "image/png");
    EXPECT_EQ(textures.fileFor(2)->bytes(), encodePng(smallImage(2)));

    OutputSet outputs;
    ASSERT_TRUE(writeTextureFiles(outputs, textures, folder_.file("models/")));
    ASSERT_TRUE(outputs.commit());
    const auto written = folderContents(folder_.file("models"));
    EXPECT_EQ(written.size(), 5u);  // four converted, and the copy that was already there
    EXPECT_EQ(written.at("WOOD-2.png"), std::string(textures.fileFor(4)->bytes().begin(), textures.fileFor(4)->bytes().end()));
}

// A missing, refused or broken image leaves its texture without a file,
// with a warning saying why and where it was looked for, in texture order.
TEST_F(TextureFolder, WarningsSayWhyAndWhere) {
    writePcx(folder_.file("secret.pcx"), 1);
    writeBytes(folder_.file("models/broken.pcx"), {0x0A, 5, 1, 8, 0, 0});
    writeBytes(folder_.file("models/text.pcx"), {'h', 'e', 'l', 'l', 'o'});
    std::filesystem::create_directories(folder_.file("models/folder.pcx"));
    const MeshStore store = storeNaming({"missing.pcx", "../secret.pcx", "broken.pcx", "text.pcx", "folder.pcx"});
    std::vector<TextureWarning> warnings;
    const TextureFiles textures = prepareTextureFiles(store, search(store.textures.size()), warnings);
    EXPECT_TRUE(textures.files.empty());
    ASSERT_EQ(warnings.size(), 5u);
    const std::vector<std::string> folders{folder_.file("models/"), folder_.file("shared")};
    for (uint32_t k = 0; k < warnings.size(); ++k) {
        EXPECT_EQ(warnings[k].texture, k + 1);
        EXPECT_EQ(warnings[k].name, store.textures[k + 1]);
        EXPECT_EQ(warnings[k].folders, folders);
    }
    EXPECT_EQ(warnings[0].reason, "not found");
    EXPECT_EQ(warnings[1].reason, "a name that leads out of its folder (\"..\") is not looked up");
    EXPECT_FALSE(warnings[2].reason.empty());
    EXPECT_EQ(warnings[3].reason, "not a PCX, BMP, TGA, PNG or JPEG image");
    EXPECT_EQ(warnings[4].reason, "not found");
}

// A converted image never takes the name of a source image beside the
// outputs: it gets the next free name, and the source stays.
TEST_F(TextureFolder, NoImageIsWrittenOverASource) {
    writePcx(folder_.file("models/wood.pcx"), 1);
    writeBytes(folder_.file("models/wood.png"), encodePng(smallImage(7)));
    const MeshStore store = storeNaming({"wood.pcx", "wood.png"});
    std::vector<TextureWarning> warnings;
    const TextureFiles textures = prepareTextureFiles(store, search(store.textures.size()), warnings);
    ASSERT_EQ(textures.files.size(), 2u);
    EXPECT_EQ(textures.fileFor(1)->fileName, "wood-2.png");
    EXPECT_EQ(textures.fileFor(2)->fileName, "wood.png");
    EXPECT_TRUE(textures.fileFor(2)->inPlace);
}

// Models converted in one run share each image file's conversion, made
// once: the same content, whichever name and folder a model gives it, and
// what a model alone makes of it; warnings and names stay the model's own.
// Another mode (pixels kept) or another ending (an image without a
// signature is told by it) is another conversion.
TEST_F(TextureFolder, ARunConvertsEachImageFileOnce) {
    writePcx(folder_.file("shared/stone.pcx"), 1);
    writeBytes(folder_.file("shared/text.pcx"), {'h', 'e', 'l', 'l', 'o'});
    const MeshStore first = storeNaming({"stone.pcx", "text.pcx"});
    const MeshStore second = storeNaming({"missing.pcx", "STONE.PCX", "text.pcx"});
    TextureSearch search = this->search(4);
    TextureCache cache;
    search.cache = &cache;
    std::vector<TextureWarning> firstWarnings, secondWarnings, aloneWarnings;
    const TextureFiles fromFirst = prepareTextureFiles(first, search, firstWarnings);
    const TextureFiles fromSecond = prepareTextureFiles(second, search, secondWarnings);
    EXPECT_EQ(cache.size(), 2u);  // stone.pcx and text.pcx, the failure too
    ASSERT_NE(fromSecond.fileFor(2), nullptr);
    EXPECT_EQ(fromFirst.fileFor(1)->content, fromSecond.fileFor(2)->content);
    EXPECT_EQ(fromSecond.fileFor(2)->fileName, "STONE.png");
    ASSERT_EQ(secondWarnings.size(), 2u);
    EXPECT_EQ(secondWarnings[1].reason, firstWarnings.at(0).reason);
    search.cache = nullptr;
    const TextureFiles alone = prepareTextureFiles(second, search, aloneWarnings);
    EXPECT_NE(alone.fileFor(2)->content, fromSecond.fileFor(2)->content);
    EXPECT_EQ(alone.fileFor(2)->bytes(), fromSecond.fileFor(2)->bytes());
    EXPECT_EQ(alone.fileFor(2)->bytes(), encodePng(smallImage(1)));

    search.cache = &cache;
    search.keepDecoded = true;
    const TextureFiles withPixels = prepareTextureFiles(first, search, firstWarnings);
    EXPECT_EQ(cache.size(), 4u);
    EXPECT_EQ(withPixels.fileFor(1)->bytes(), fromFirst.fileFor(1)->bytes());
    EXPECT_EQ(withPixels.fileFor(1)->decoded().width, smallImage(1).width);
    EXPECT_EQ(fromFirst.fileFor(1)->decoded().width, 0u);
    writeBytes(folder_.file("shared/t.tga"), tools::encodeTga(smallImage(2)));
    std::filesystem::create_hard_link(folder_.file("shared/t.tga"), folder_.file("shared/t.img"));
    EXPECT_TRUE(prepareTextureFiles(storeNaming({"t.img"}), search, firstWarnings).files.empty());
    EXPECT_EQ(prepareTextureFiles(storeNaming({"T.TGA"}), search, firstWarnings).files.size(), 1u);
    EXPECT_EQ(cache.size(), 6u);
}

}  // namespace
}  // namespace zelvane
