// The chunks and the zlib stream of our PNG files, as Python's zlib reads
// them: every chunk's CRC-32 right, the stream complete, made at the fast
// level for pictures and the thorough one for textures, and inflating to
// exactly the rows the encoder filtered. (That the pixels come back, Pillow
// checks in ImageTest.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "Files.h"
#include "TempFolder.h"
#include "TestPictures.h"
#include "image/ImageCodec.h"
#include "image/PngScanlines.h"
#include "image/RgbaPngStream.h"

namespace zelvane {
namespace {

using namespace test;
using Bytes = std::vector<uint8_t>;

// The first two bytes of a zlib stream with a 32 KiB window: 78 01 at
// level 1, 78 DA at level 9.
constexpr const char* kFastHeader = "7801";
constexpr const char* kThoroughHeader = "78da";

struct StreamCase {
    std::string name;
    Image image;
    PngEffort effort;
    Bytes rows;            // what the stream must inflate to
    std::string summary;   // chunk types, CRC verdict, zlib header, completeness
};

// Each row with filter type 0 and its bytes as they are.
Bytes unfiltered(const Image& image) {
    const size_t rowBytes = image.pixels.size() / image.height;
    Bytes rows;
    for (size_t y = 0; y < image.height; ++y) {
        rows.push_back(0);
        rows.insert(rows.end(), image.pixels.begin() + static_cast<std::ptrdiff_t>(y * rowBytes),
                    image.pixels.begin() + static_cast<std::ptrdiff_t>((y + 1) * rowBytes));
    }
    return rows;
}

// Noise, which no compressor shrinks: its stream needs two IDAT chunks of at
// most 1 MiB, and outgrows the first output buffer several times.
Image noiseImage(uint32_t width, uint32_t height) {
    Image image{width, height, PixelFormat::kRgba, {}, Bytes(size_t{width} * height * 4)};
    std::mt19937 random(17);
    for (uint8_t& byte : image.pixels) byte = static_cast<uint8_t>(random());
    return image;
}

std::vector<StreamCase> streamCases() {
    std::vector<StreamCase> cases;
    const auto add = [&cases](std::string name, const Image& image, PngEffort effort, Bytes rows, std::string summary) {
        cases.push_back({std::move(name), image, effort, std::move(rows), std::move(summary)});
    };
    for (const PixelFormat format : {PixelFormat::kRgb, PixelFormat::kRgba}) {
        for (const auto& [width, height] : {std::pair{300u, 40u}, {1u, 33u}, {129u, 1u}}) {
            const Image image = patternImage(width, height, format);
            const std::string name = std::to_string(width) + "x" + std::to_string(height) +
                                     (format == PixelFormat::kRgb ? "-rgb" : "-rgba");
            add(name + "-quick", image, PngEffort::kQuick, unfiltered(image),
                std::string("IHDR,IDAT,IEND crc-ok ") + kFastHeader + " complete");
            add(name + "-smallest", image, PngEffort::kSmallest, image::filterColourRows(image),
                std::string("IHDR,IDAT,IEND crc-ok ") + kThoroughHeader + " complete");
        }
    }
    for (const auto& [colours, bitDepth] : {std::pair{2u, uint8_t{1}}, {16u, uint8_t{4}}, {256u, uint8_t{8}}}) {
        const Image image = patternImage(37, 9, PixelFormat::kPaletted, colours);
        for (const PngEffort effort : {PngEffort::kQuick, PngEffort::kSmallest}) {
            add(std::to_string(colours) + "-colours-" + (effort == PngEffort::kQuick ? "quick" : "smallest"), image,
                effort, image::packIndexRows(image, bitDepth),
                std::string("IHDR,PLTE,IDAT,IEND crc-ok ") +
                    (effort == PngEffort::kQuick ? kFastHeader : kThoroughHeader) + " complete");
        }
    }
    const Image noise = noiseImage(1024, 300);
    add("noise-quick", noise, PngEffort::kQuick, unfiltered(noise),
        std::string("IHDR,IDAT,IDAT,IEND crc-ok ") + kFastHeader + " complete");
    return cases;
}

TEST(PngStream, InflatesToTheFilteredRowsWithEveryChunkChecked) {
    const TempFolder folder;
    const std::vector<StreamCase> cases = streamCases();
    std::vector<std::string> arguments{ZELVANE_PNG_STREAM_SCRIPT};
    for (const StreamCase& streamCase : cases) {
        arguments.push_back(folder.file(streamCase.name + ".png"));
        writeFile(arguments.back(), encodePng(streamCase.image, streamCase.effort));
    }
    const CommandResult result = runProgram(ZELVANE_PILLOW_PYTHON, arguments, folder.path());
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> lines = splitLines(result.out);
    ASSERT_EQ(lines.size(), cases.size()) << result.out;
    for (size_t index = 0; index < cases.size(); ++index) {
        SCOPED_TRACE(cases[index].name);
        EXPECT_EQ(lines[index], cases[index].summary);
        const std::string rows = readFile(folder.file(cases[index].name + ".png.rows"));
        EXPECT_TRUE(Bytes(rows.begin(), rows.end()) == cases[index].rows) << "inflates to other rows";
    }
}

// Rows given a few at a time, or one by one, make the file encodePng makes
// of the whole image; a short, long or ragged count of rows makes none.
TEST(PngStream, RowsInPiecesMakeTheWholeImagesFile) {
    for (const Image& image : {patternImage(300, 40, PixelFormat::kRgba), patternImage(1, 33, PixelFormat::kRgba),
                               noiseImage(1024, 300)}) {
        const size_t rowBytes = size_t{image.width} * 4;
        const Bytes whole = encodePng(image, PngEffort::kQuick);
        ASSERT_FALSE(whole.empty());
        for (const uint32_t rowsAtOnce : {1u, 7u, image.height}) {
            image::RgbaPngStream stream(image.width, image.height);
            for (uint32_t y = 0; y < image.height; y += rowsAtOnce) {
                const uint32_t rows = std::min(rowsAtOnce, image.height - y);
                stream.addRows(std::span(image.pixels).subspan(y * rowBytes, rows * rowBytes));
            }
            EXPECT_TRUE(stream.finish() == whole) << image.width << " x " << image.height << ", " << rowsAtOnce;
        }
        const std::span<const uint8_t> pixels(image.pixels);
        for (const auto& pieces : {std::vector{pixels.first(pixels.size() - rowBytes)},
                                   std::vector{pixels, pixels.first(rowBytes)},
                                   std::vector{pixels.first(rowBytes + 1), pixels.subspan(rowBytes + 1)}}) {
            image::RgbaPngStream stream(image.width, image.height);
            for (const auto piece : pieces) stream.addRows(piece);
            EXPECT_TRUE(stream.finish().empty());
        }
    }
}

}  // namespace
}  // namespace zelvane
