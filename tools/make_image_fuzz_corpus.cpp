// make_image_fuzz_corpus FOLDER
//
// Writes the seed corpus of the image fuzz target (fuzz/FuzzImage.cpp) into
// FOLDER: small PCX files of every form and variation the writer has, BMP
// and TGA files of each kind, a PNG and a JPEG header, and damaged copies:
// cut short, and declaring sizes of tens of thousands of pixels a side.
// The fuzzer starts from these and mutates.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "image/ImageCodec.h"
#include "imagewriter/BmpWriter.h"
#include "imagewriter/FileSave.h"
#include "imagewriter/PcxWriter.h"
#include "imagewriter/TgaWriter.h"

namespace {

using zelvane::Image;
using zelvane::PixelFormat;
using zelvane::tools::PcxRunScope;
using zelvane::tools::PcxWriteForm;
using Bytes = std::vector<uint8_t>;

// Rows alike and rows of noise, indices below colours (or bytes of colour).
Image seedImage(uint32_t width, uint32_t height, PixelFormat format, uint32_t colours) {
    Image image;
    image.width = width;
    image.height = height;
    image.format = format;
    const size_t channels = format == PixelFormat::kPaletted ? 1 : format == PixelFormat::kRgb ? 3 : 4;
    for (uint32_t index = 0; format == PixelFormat::kPaletted && index < colours; ++index) {
        image.palette.push_back({static_cast<uint8_t>(index * 17), static_cast<uint8_t>(index * 5), 200});
    }
    for (uint32_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width * channels; ++x) {
            const uint32_t value = y % 2 == 0 ? y : static_cast<uint32_t>(x * 7 + y * 13) ^ 0xA5;
            image.pixels.push_back(static_cast<uint8_t>(value % colours));
        }
    }
    return image;
}

class SeedFolder {
public:
    explicit SeedFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

    void add(const std::string& name, const Bytes& bytes) {
        ok_ = zelvane::tools::saveBytes((folder_ / name).string(), bytes) && ok_;
        ++count_;
    }
    // The file, and copies cut at a quarter and at three quarters.
    void addWithCuts(const std::string& name, const Bytes& bytes) {
        add(name, bytes);
        for (size_t quarters : {1, 3}) {
            add("cut" + std::to_string(quarters) + "-" + name,
                Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() * quarters / 4)));
        }
    }

    bool ok() const { return ok_; }
    int count() const { return count_; }

private:
    std::filesystem::path folder_;
    bool ok_ = true;
    int count_ = 0;
};

void addPcxSeeds(SeedFolder& seeds) {
    const Image indexed = seedImage(13, 6, PixelFormat::kPaletted, 256);
    const Image rgb = seedImage(11, 5, PixelFormat::kRgb, 256);
    const Image ega = seedImage(19, 5, PixelFormat::kPaletted, 16);
    using zelvane::tools::encodePcx;
    seeds.addWithCuts("indexed.pcx", encodePcx(indexed, PcxWriteForm::kIndexed));
    seeds.add("indexed-no-palette.pcx", encodePcx(indexed, PcxWriteForm::kIndexed,
                                                  {.paletteEnd = zelvane::tools::PcxPaletteEnd::kNothing}));
    seeds.add("indexed-wide-lines.pcx", encodePcx(indexed, PcxWriteForm::kIndexed, {.bytesPerLine = 20}));
    seeds.addWithCuts("rgb.pcx", encodePcx(rgb, PcxWriteForm::kRgb, {.xMin = 300, .yMin = 2}));
    seeds.add("rgb-runs-across.pcx", encodePcx(rgb, PcxWriteForm::kRgb, {.runScope = PcxRunScope::kWholeImage}));
    seeds.add("mono.pcx", encodePcx(seedImage(21, 4, PixelFormat::kPaletted, 2), PcxWriteForm::kMonochrome));
    seeds.add("planes2.pcx", encodePcx(seedImage(21, 4, PixelFormat::kPaletted, 4), PcxWriteForm::kBitPlanes2));
    seeds.addWithCuts("planes4.pcx", encodePcx(ega, PcxWriteForm::kBitPlanes4));
    seeds.add("nibbles.pcx", encodePcx(ega, PcxWriteForm::kNibbles, {.runScope = PcxRunScope::kWholeImage}));
    Bytes huge = encodePcx(rgb, PcxWriteForm::kRgb);
    huge[8] = huge[9] = huge[10] = huge[11] = 0xFE;  // a window of 65279 x 65279
    seeds.add("huge.pcx", huge);
}

void addBmpAndTgaSeeds(SeedFolder& seeds) {
    const Image paletted = seedImage(7, 5, PixelFormat::kPaletted, 256);
    const Image rgb = seedImage(7, 5, PixelFormat::kRgb, 256);
    const Image rgba = seedImage(6, 4, PixelFormat::kRgba, 256);
    using zelvane::tools::encodeBmp;
    using zelvane::tools::encodeTga;
    seeds.addWithCuts("8.bmp", encodeBmp(paletted));
    seeds.add("24.bmp", encodeBmp(rgb, {.topDown = true}));
    seeds.addWithCuts("32.bmp", encodeBmp(rgba));
    seeds.add("24.tga", encodeTga(rgb, {.imageId = "seed"}));
    seeds.addWithCuts("24-rle.tga", encodeTga(rgb, {.runLength = true}));
    seeds.add("32-rle.tga", encodeTga(rgba, {.runLength = true, .topDown = true}));
    seeds.addWithCuts("mapped-rle.tga", encodeTga(paletted, {.runLength = true}));
    Bytes huge = encodeTga(rgb, {.runLength = true});
    huge[12] = huge[13] = huge[14] = huge[15] = 0x7F;  // 32639 x 32639
    seeds.add("huge.tga", huge);
}

void addPngAndJpegSeeds(SeedFolder& seeds) {
    seeds.add("rgba.png", zelvane::encodePng(seedImage(5, 3, PixelFormat::kRgba, 256)));
    seeds.add("paletted.png", zelvane::encodePng(seedImage(9, 3, PixelFormat::kPaletted, 5)));
    seeds.add("header.jpg", {0xFF, 0xD8, 0xFF, 0xC0, 0, 17, 8, 0, 48, 0, 64, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_image_fuzz_corpus FOLDER\n");
        return 1;
    }
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    SeedFolder seeds(argv[1]);
    addPcxSeeds(seeds);
    addBmpAndTgaSeeds(seeds);
    addPngAndJpegSeeds(seeds);
    if (!seeds.ok()) {
        std::fprintf(stderr, "make_image_fuzz_corpus: cannot write into %s\n", argv[1]);
        return 1;
    }
    std::printf("%d seed images in %s\n", seeds.count(), argv[1]);
    return 0;
}
