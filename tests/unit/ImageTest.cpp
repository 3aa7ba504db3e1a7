// Our decoders and our PNG files against Pillow: every PCX form and variation
// the writer makes, and BMP and TGA as stb_image reads them, must give the
// pixels Pillow gives, and so must the PNG we make of each.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Files.h"
#include "PillowReader.h"
#include "TempFolder.h"
#include "TestPictures.h"
#include "image/ImageCodec.h"
#include "imagewriter/BmpWriter.h"
#include "imagewriter/PcxWriter.h"
#include "imagewriter/TgaWriter.h"

namespace zelvane {
namespace {

using namespace test;
using tools::PcxRunScope;
using tools::PcxWriteForm;
using tools::PcxWriteOptions;
using Bytes = std::vector<uint8_t>;

// A file for our decoder, and the file Pillow reads to check it: the same
// file, or where Pillow cannot read this one, the same image written in a
// way it can.
struct Sample {
    std::string name;
    Image source;
    Bytes file;
    Bytes pillowFile;
};

Sample pcxSample(std::string name, const Image& source, PcxWriteForm form, const PcxWriteOptions& options) {
    const Bytes file = tools::encodePcx(source, form, options);
    return {std::move(name) + ".pcx", source, file, file};
}

Sample pcxSampleWithTwin(std::string name, const Image& source, PcxWriteForm form, const PcxWriteOptions& options,
                         PcxWriteForm twinForm, const PcxWriteOptions& twinOptions) {
    return {std::move(name) + ".pcx", source, tools::encodePcx(source, form, options),
            tools::encodePcx(source, twinForm, twinOptions)};
}

Sample plainSample(std::string name, const Image& source, Bytes file) {
    return {std::move(name), source, file, file};
}

// Pillow takes no run-length packet across a row's end: such files go to it
// with packets cut at every row.
Sample tgaSampleAcrossRows(std::string name, const Image& source) {
    return {std::move(name), source, tools::encodeTga(source, {.runLength = true}),
            tools::encodeTga(source, {.runLength = true, .runsAcrossRows = false})};
}

// Pillow looks for the palette in the last 769 bytes of a file that has
// them: the files without a palette are larger than that.
std::vector<Sample> indexedPcxSamples() {
    const Image odd = patternImage(37, 23, PixelFormat::kPaletted);
    const Image even = patternImage(40, 23, PixelFormat::kPaletted);
    const Image large = patternImage(63, 40, PixelFormat::kPaletted);
    const PcxWriteForm form = PcxWriteForm::kIndexed;
    return {
        pcxSample("pcx8-odd-width", odd, form, {}),
        pcxSample("pcx8-window-offset", odd, form, {.xMin = 100, .yMin = 7}),
        pcxSampleWithTwin("pcx8-wide-lines", odd, form, {.bytesPerLine = 44, .paddingByte = 0xC7}, form, {}),
        pcxSampleWithTwin("pcx8-runs-across-rows", even, form, {.runScope = PcxRunScope::kWholeImage}, form, {}),
        pcxSample("pcx8-no-palette", large, form, {.paletteEnd = tools::PcxPaletteEnd::kNothing}),
        pcxSample("pcx8-zero-for-marker", odd, form, {.paletteEnd = tools::PcxPaletteEnd::kTableWithoutMarker}),
    };
}

std::vector<Sample> rgbPcxSamples() {
    const Image odd = patternImage(37, 19, PixelFormat::kRgb);
    const Image even = patternImage(40, 19, PixelFormat::kRgb);
    const PcxWriteForm form = PcxWriteForm::kRgb;
    return {
        pcxSample("pcx24-odd-width", odd, form, {}),
        pcxSample("pcx24-runs-per-plane", odd, form, {.runScope = PcxRunScope::kPlane}),
        pcxSample("pcx24-window-offset", odd, form, {.xMin = 65000, .yMin = 65000}),
        pcxSampleWithTwin("pcx24-wide-lines", odd, form, {.bytesPerLine = 41, .paddingByte = 0xFF}, form, {}),
        pcxSampleWithTwin("pcx24-runs-across-rows", even, form, {.runScope = PcxRunScope::kWholeImage}, form, {}),
    };
}

// Pillow reads bit planes as if each plane were just as long as the width
// needs: the padded files go to it unpadded. It reads no 4-bit single plane
// at all: the same pixels as four bit planes check those.
// A monochrome file is black and white whatever its header's palette says.
std::vector<Sample> egaAndMonochromePcxSamples() {
    Image mono = patternImage(45, 17, PixelFormat::kPaletted, 2);
    mono.palette = {{200, 10, 10}, {10, 10, 200}};  // into the header, where readers pay it no heed
    const Image monoOdd = patternImage(37, 17, PixelFormat::kPaletted, 2);
    const Image monoEven = patternImage(48, 17, PixelFormat::kPaletted, 2);
    const Image ega = patternImage(45, 17, PixelFormat::kPaletted, 16);
    const Image egaOdd = patternImage(37, 17, PixelFormat::kPaletted, 16);
    const Image egaEven = patternImage(48, 17, PixelFormat::kPaletted, 16);
    const Image cga = patternImage(45, 17, PixelFormat::kPaletted, 4);
    const PcxWriteOptions unpadded{.bytesPerLine = 5};
    const PcxWriteOptions acrossRows{.runScope = PcxRunScope::kWholeImage};
    return {
        pcxSample("pcx1-mono", mono, PcxWriteForm::kMonochrome, {}),
        pcxSample("pcx1-mono-odd", monoOdd, PcxWriteForm::kMonochrome, {.version = 2}),
        pcxSampleWithTwin("pcx1-mono-runs-across-rows", monoEven, PcxWriteForm::kMonochrome, acrossRows,
                          PcxWriteForm::kMonochrome, {}),
        pcxSample("pcx1x4-planes", ega, PcxWriteForm::kBitPlanes4, {}),
        pcxSample("pcx1x4-planes-version-3", ega, PcxWriteForm::kBitPlanes4, {.version = 3}),
        pcxSampleWithTwin("pcx1x4-planes-padded", egaOdd, PcxWriteForm::kBitPlanes4, {.paddingByte = 0xEE},
                          PcxWriteForm::kBitPlanes4, unpadded),
        pcxSampleWithTwin("pcx1x4-planes-runs-across-rows", egaEven, PcxWriteForm::kBitPlanes4, acrossRows,
                          PcxWriteForm::kBitPlanes4, {}),
        pcxSample("pcx1x2-planes", cga, PcxWriteForm::kBitPlanes2, {}),
        pcxSampleWithTwin("pcx4-nibbles", egaOdd, PcxWriteForm::kNibbles, {}, PcxWriteForm::kBitPlanes4, unpadded),
        pcxSampleWithTwin("pcx4-nibbles-runs-across-rows", egaEven, PcxWriteForm::kNibbles, acrossRows,
                          PcxWriteForm::kBitPlanes4, {}),
    };
}

// An image of grey levels: every pixel's red copied into green and blue.
Image greyOf(Image image) {
    const size_t channels = image.format == PixelFormat::kRgb ? 3 : 4;
    for (size_t at = 0; at < image.pixels.size(); at += channels) {
        image.pixels[at + 1] = image.pixels[at + 2] = image.pixels[at];
    }
    return image;
}

std::vector<Sample> bmpAndTgaSamples() {
    const Image paletted = patternImage(37, 23, PixelFormat::kPaletted);
    const Image rgb = patternImage(37, 19, PixelFormat::kRgb);
    const Image rgba = patternImage(38, 21, PixelFormat::kRgba);
    const Image grey = greyOf(rgb);
    const Image greyAlpha = greyOf(rgba);
    return {
        plainSample("bmp8.bmp", paletted, tools::encodeBmp(paletted)),
        plainSample("bmp24.bmp", rgb, tools::encodeBmp(rgb)),
        plainSample("bmp24-top-down.bmp", rgb, tools::encodeBmp(rgb, {.topDown = true})),
        plainSample("bmp32.bmp", rgba, tools::encodeBmp(rgba)),
        plainSample("tga24.tga", rgb, tools::encodeTga(rgb)),
        plainSample("tga24-with-id.tga", rgb, tools::encodeTga(rgb, {.imageId = "brick wall, 37 x 19"})),
        plainSample("tga24-rle-per-row.tga", rgb, tools::encodeTga(rgb, {.runLength = true, .runsAcrossRows = false})),
        tgaSampleAcrossRows("tga24-rle-across-rows.tga", rgb),
        plainSample("tga32-top-down.tga", rgba, tools::encodeTga(rgba, {.topDown = true})),
        tgaSampleAcrossRows("tga32-rle-across-rows.tga", rgba),
        plainSample("tga-mapped.tga", paletted, tools::encodeTga(paletted)),
        plainSample("tga-mapped-rle-top-down.tga", paletted,
                    tools::encodeTga(paletted, {.runLength = true, .runsAcrossRows = false, .topDown = true})),
        tgaSampleAcrossRows("tga-mapped-rle-across-rows.tga", paletted),
        plainSample("tga-grey.tga", grey, tools::encodeTga(grey, {.grey = true})),
        plainSample("tga-grey-alpha-rle.tga", greyAlpha,
                    tools::encodeTga(greyAlpha, {.runLength = true, .runsAcrossRows = false, .grey = true})),
    };
}

std::vector<Sample> allSamples() {
    std::vector<Sample> samples;
    for (auto part : {indexedPcxSamples(), rgbPcxSamples(), egaAndMonochromePcxSamples(), bmpAndTgaSamples()}) {
        samples.insert(samples.end(), part.begin(), part.end());
    }
    return samples;
}

std::string pillowModeFor(const Image& image) {
    return image.format == PixelFormat::kPaletted ? "P" : image.format == PixelFormat::kRgb ? "RGB" : "RGBA";
}

// What ours decoded from the file: the source's size and pixels (palette
// indices for PCX, which keeps them; colours for BMP and TGA, which stb_image
// expands).
void expectSourcePixels(const Sample& sample, const Image& decoded) {
    ASSERT_EQ(decoded.width, sample.source.width);
    ASSERT_EQ(decoded.height, sample.source.height);
    if (decoded.format == sample.source.format) {
        EXPECT_EQ(decoded.pixels, sample.source.pixels);
    } else {
        EXPECT_EQ(rgbaOf(decoded), rgbaOf(sample.source));
    }
}

void expectPillowAgrees(const PillowImage& pillow, const Image& decoded) {
    ASSERT_TRUE(pillow.ok) << pillow.error;
    EXPECT_EQ(pillow.width, decoded.width);
    EXPECT_EQ(pillow.height, decoded.height);
    EXPECT_TRUE(pillow.rgba == rgbaOf(decoded)) << "Pillow reads other pixels";
}

TEST(ImageReadBack, DecodersAndPngFilesAgreeWithPillow) {
    const TempFolder folder;
    const std::vector<Sample> samples = allSamples();
    std::vector<Image> decoded;
    std::vector<std::string> pillowFiles;
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        const DecodedImage ours = decodeImage(sample.file, detectImageFormat(sample.file, sample.name));
        ASSERT_TRUE(ours.image) << ours.error;
        expectSourcePixels(sample, *ours.image);
        decoded.push_back(*ours.image);
        writeFile(folder.file(sample.name), sample.pillowFile);
        writeFile(folder.file(sample.name + ".png"), encodePng(*ours.image));
        pillowFiles.push_back(folder.file(sample.name));
        pillowFiles.push_back(folder.file(sample.name + ".png"));
    }
    const std::vector<PillowImage> pillow = readWithPillow(pillowFiles);
    for (size_t index = 0; index < samples.size(); ++index) {
        SCOPED_TRACE(samples[index].name);
        expectPillowAgrees(pillow[2 * index], decoded[index]);
        expectPillowAgrees(pillow[2 * index + 1], decoded[index]);
        EXPECT_EQ(pillow[2 * index + 1].mode, pillowModeFor(decoded[index])) << "PNG of another colour type";
    }
}

// The PNG bit depth follows the highest index in use: 1, 2, 4 or 8 bits,
// with rows that end inside a byte. Every one must stay paletted in Pillow.
TEST(ImageReadBack, PalettedPngOfEveryBitDepthReadsBackPaletted) {
    constexpr size_t kBitDepthOffset = 24;  // signature 8, IHDR length and type 8, width and height 8
    const TempFolder folder;
    std::vector<Image> images;
    std::vector<std::string> paths;
    const std::pair<uint32_t, uint8_t> depths[] = {{1, 1},  {2, 1},  {3, 2},   {4, 2},  {5, 4},
                                                   {16, 4}, {17, 8}, {255, 8}, {256, 8}};
    for (const auto& [colours, bitDepth] : depths) {
        for (uint32_t width : {1u, 7u, 9u, 30u}) {
            images.push_back(patternImage(width, 5, PixelFormat::kPaletted, colours));
            images.back().pixels.back() = static_cast<uint8_t>(colours - 1);  // the highest index in use
            paths.push_back(folder.file(std::to_string(colours) + "-" + std::to_string(width) + ".png"));
            const Bytes png = encodePng(images.back());
            ASSERT_GT(png.size(), kBitDepthOffset);
            EXPECT_EQ(png[kBitDepthOffset], bitDepth) << colours << " colours";
            writeFile(paths.back(), png);
        }
    }
    const std::vector<PillowImage> pillow = readWithPillow(paths);
    for (size_t index = 0; index < images.size(); ++index) {
        SCOPED_TRACE(paths[index]);
        expectPillowAgrees(pillow[index], images[index]);
        EXPECT_EQ(pillow[index].mode, "P");
    }
}

// Ramps, flat rows and noise, so that rows take different filters, in RGB
// and RGBA, and images one pixel wide and one row high; each as the
// smallest file and as the quick one.
TEST(ImageReadBack, FilteredColourPngReadsBackExactly) {
    const TempFolder folder;
    std::vector<Image> images;
    for (PixelFormat format : {PixelFormat::kRgb, PixelFormat::kRgba, PixelFormat::kPaletted}) {
        images.push_back(patternImage(300, 40, format));
        images.push_back(patternImage(1, 33, format));
        images.push_back(patternImage(129, 1, format));
    }
    std::vector<std::string> paths;
    for (const PngEffort effort : {PngEffort::kSmallest, PngEffort::kQuick}) {
        for (size_t index = 0; index < images.size(); ++index) {
            paths.push_back(folder.file(std::to_string(paths.size()) + ".png"));
            writeFile(paths.back(), encodePng(images[index], effort));
        }
    }
    const std::vector<PillowImage> pillow = readWithPillow(paths);
    for (size_t index = 0; index < paths.size(); ++index) {
        SCOPED_TRACE(paths[index]);
        const Image& image = images[index % images.size()];
        expectPillowAgrees(pillow[index], image);
        EXPECT_EQ(pillow[index].mode, pillowModeFor(image));
    }
}

// PNG and JPEG files of many kinds from Pillow's encoders (progressive,
// greyscale, CMYK, with EXIF; 4-bit, 16-bit): each header passes, and
// those too wide are refused with their size. The JPEG files within the
// limits decode to Pillow's pixels, within what two decoders of one lossy
// file may differ by (three levels a channel on average).
TEST(ImageReadBack, HeadersOfPillowsPngAndJpegFilesAreRead) {
    const TempFolder folder;
    const CommandResult written = runProgram(ZELVANE_PILLOW_PYTHON, {ZELVANE_SAMPLES_SCRIPT, folder.path()}, ".");
    ASSERT_EQ(written.status, 0) << written.err;
    const std::vector<std::string> lines = splitLines(written.out);
    ASSERT_GE(lines.size(), 10u);
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        std::istringstream words(line);
        std::string name;
        uint32_t width = 0;
        uint32_t height = 0;
        words >> name >> width >> height;
        const std::string text = readFile(folder.file(name));
        const Bytes bytes(text.begin(), text.end());
        const ImageFormat format = detectImageFormat(bytes, name);
        ASSERT_TRUE(format == ImageFormat::kPng || format == ImageFormat::kJpeg);
        const std::string expected = width <= 16384 ? ""
                                                     : "image is " + std::to_string(width) + " x " +
                                                           std::to_string(height) + " pixels, larger than 16384 on a side";
        EXPECT_EQ(checkImageHeader(bytes, format), expected);
        if (expected.empty() && format == ImageFormat::kJpeg) {
            const DecodedImage decoded = decodeImage(bytes, format);
            ASSERT_TRUE(decoded.image) << decoded.error;
            const PillowImage pillow = readWithPillow({folder.file(name)})[0];
            ASSERT_EQ(pillow.rgba.size(), rgbaOf(*decoded.image).size());
            uint64_t difference = 0;
            for (size_t at = 0; at < pillow.rgba.size(); ++at) {
                difference += static_cast<uint64_t>(std::abs(int(pillow.rgba[at]) - int(rgbaOf(*decoded.image)[at])));
            }
            EXPECT_LE(difference, 3 * pillow.rgba.size());
        }
    }
}

}  // namespace
}  // namespace zelvane
