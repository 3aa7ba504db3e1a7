// The 8-bit PCX files made for the game, read back by our decoder and by
// Pillow, and the palettes toPalette gives true-colour images.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "Files.h"
#include "PillowReader.h"
#include "TempFolder.h"
#include "TestPictures.h"
#include "image/ImageCodec.h"
#include "image/MedianCut.h"
#include "image/PcxEncoder.h"

namespace zelvane {
namespace {

using namespace test;

// Odd and even widths (a row is padded to an even length), a single pixel,
// rows of runs longer than 63 and values of 0xC0 and above, which a run must
// carry even alone.
TEST(PcxEncoder, FilesReadBackByOurDecoderAndByPillow) {
    const std::vector<std::pair<uint32_t, uint32_t>> sizes{{1, 1}, {7, 3}, {64, 5}, {130, 9}, {255, 2}};
    TempFolder folder;
    std::vector<std::string> paths;
    std::vector<Image> images;
    for (const auto& [width, height] : sizes) {
        images.push_back(patternImage(width, height, PixelFormat::kPaletted));
        const std::vector<uint8_t> file = encodePcx(images.back());
        ASSERT_FALSE(file.empty());
        EXPECT_EQ(file[0], 0x0A);
        EXPECT_EQ(file[1], 5);
        EXPECT_EQ(file[file.size() - 769], 0x0C);
        const DecodedImage decoded = decodeImage(file, ImageFormat::kPcx);
        ASSERT_TRUE(decoded.image) << decoded.error;
        EXPECT_EQ(rgbaOf(*decoded.image), rgbaOf(images.back())) << width << " x " << height;
        paths.push_back(folder.file(std::to_string(paths.size()) + ".pcx"));
        writeFile(paths.back(), file);
    }
    const std::vector<PillowImage> read = readWithPillow(paths);
    ASSERT_EQ(read.size(), images.size());
    for (size_t k = 0; k < images.size(); ++k) {
        ASSERT_TRUE(read[k].ok) << read[k].error;
        EXPECT_EQ(read[k].mode, "P");
        EXPECT_EQ(read[k].rgba, rgbaOf(images[k])) << paths[k];
    }
}

TEST(PcxEncoder, RefusesWhatAPcxFileCannotHold) {
    EXPECT_TRUE(encodePcx(patternImage(4, 4, PixelFormat::kRgb)).empty());
    Image empty{0, 0, PixelFormat::kPaletted, {{0, 0, 0}}, {}};
    EXPECT_TRUE(encodePcx(empty).empty());
    Image wide{65536, 1, PixelFormat::kPaletted, {{0, 0, 0}}, std::vector<uint8_t>(65536)};
    EXPECT_TRUE(encodePcx(wide).empty());
}

std::set<std::vector<uint8_t>> coloursOf(const std::vector<uint8_t>& rgba) {
    std::set<std::vector<uint8_t>> colours;
    for (size_t at = 0; at < rgba.size(); at += 4) {
        colours.insert({rgba[at], rgba[at + 1], rgba[at + 2]});
    }
    return colours;
}

// An image of at most 256 colours keeps them exactly, alpha or not.
TEST(MedianCut, FewColoursAreKeptExactly) {
    for (const PixelFormat format : {PixelFormat::kRgb, PixelFormat::kRgba}) {
        Image image = patternImage(40, 30, format);
        const size_t channels = format == PixelFormat::kRgba ? 4 : 3;
        for (size_t at = 0; at < image.pixels.size(); ++at) {
            image.pixels[at] = static_cast<uint8_t>(image.pixels[at] & (at % channels == 3 ? 0xFF : 0xE0));
        }
        Image opaque = image;
        for (size_t at = 3; channels == 4 && at < opaque.pixels.size(); at += 4) {
            opaque.pixels[at] = 255;
        }
        const Image paletted = toPalette(image);
        EXPECT_EQ(paletted.format, PixelFormat::kPaletted);
        EXPECT_LE(paletted.palette.size(), 256u);
        EXPECT_EQ(rgbaOf(paletted), rgbaOf(opaque));
    }
}

// Many colours: 256 entries, and every pixel takes the entry nearest to its
// colour.
TEST(MedianCut, ManyColoursTakeTheNearestOf256) {
    Image image{64, 64, PixelFormat::kRgb, {}, std::vector<uint8_t>(64 * 64 * 3)};
    std::mt19937 random(7);
    for (uint8_t& value : image.pixels) {
        value = static_cast<uint8_t>(random());
    }
    const Image paletted = toPalette(image);
    ASSERT_EQ(paletted.palette.size(), 256u);
    for (size_t pixel = 0; pixel < paletted.pixels.size(); ++pixel) {
        const uint8_t* colour = &image.pixels[3 * pixel];
        auto distance = [&](const std::array<uint8_t, 3>& entry) {
            int sum = 0;
            for (size_t c = 0; c < 3; ++c) {
                sum += (int(colour[c]) - int(entry[c])) * (int(colour[c]) - int(entry[c]));
            }
            return sum;
        };
        int best = INT32_MAX;
        for (const auto& entry : paletted.palette) {
            best = std::min(best, distance(entry));
        }
        ASSERT_EQ(distance(paletted.palette[paletted.pixels[pixel]]), best) << "pixel " << pixel;
    }
    EXPECT_EQ(coloursOf(rgbaOf(paletted)).size(), 256u);
}

TEST(MedianCut, TransparencyIsSeenOnlyWhereAPixelIsNotOpaque) {
    Image image = patternImage(5, 5, PixelFormat::kRgba);
    for (size_t at = 3; at < image.pixels.size(); at += 4) {
        image.pixels[at] = 255;
    }
    EXPECT_FALSE(hasTransparency(image));
    image.pixels[7] = 254;
    EXPECT_TRUE(hasTransparency(image));
    EXPECT_FALSE(hasTransparency(patternImage(5, 5, PixelFormat::kRgb)));
}

}  // namespace
}  // namespace zelvane
