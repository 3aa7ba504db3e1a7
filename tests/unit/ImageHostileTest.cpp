// Damaged and hostile image files: cut short anywhere, declaring sizes their
// bytes cannot fill, with runs that end early or go too far. Every one must
// fail with words, or decode to a consistent image, without reading out of
// bounds or setting aside more memory than the file can fill.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "AllocationWatch.h"
#include "TestPictures.h"
#include "image/ImageCodec.h"
#include "imagewriter/BmpWriter.h"
#include "imagewriter/PcxWriter.h"
#include "imagewriter/TgaWriter.h"

namespace zelvane {
namespace {

using namespace test;
using tools::PcxWriteForm;
using Bytes = std::vector<uint8_t>;

constexpr size_t kPcxHeaderSize = 128;
constexpr size_t kPcxTableSize = 769;
constexpr size_t kSmallAllocation = size_t{64} << 10;

void putU16(Bytes& bytes, size_t offset, uint32_t value) {
    bytes.at(offset) = static_cast<uint8_t>(value);
    bytes.at(offset + 1) = static_cast<uint8_t>(value >> 8);
}

void putU32(Bytes& bytes, size_t offset, uint32_t value) {
    putU16(bytes, offset, value);
    putU16(bytes, offset + 2, value >> 16);
}

struct PcxFields {
    uint8_t bits = 8;
    uint8_t planes = 1;
    uint32_t width = 4;
    uint32_t height = 2;
    uint32_t bytesPerLine = 4;
    uint8_t version = 5;
    uint8_t encoding = 1;
    uint32_t xMin = 0;
};

// A PCX header written field by field, then the given pixel data.
Bytes pcxFile(const PcxFields& fields, const Bytes& data) {
    Bytes bytes(kPcxHeaderSize + data.size(), 0);
    std::copy(data.begin(), data.end(), bytes.begin() + kPcxHeaderSize);
    bytes[0] = 0x0A;
    bytes[1] = fields.version;
    bytes[2] = fields.encoding;
    bytes[3] = fields.bits;
    putU16(bytes, 4, fields.xMin);
    putU16(bytes, 8, fields.xMin + fields.width - 1);
    putU16(bytes, 10, fields.height - 1);
    bytes[65] = fields.planes;
    putU16(bytes, 66, fields.bytesPerLine);
    return bytes;
}

Bytes withGreyTable(Bytes bytes) {
    bytes.push_back(0x0C);
    for (int index = 0; index < 256; ++index) {
        bytes.insert(bytes.end(), 3, static_cast<uint8_t>(255 - index));
    }
    return bytes;
}

DecodedImage decode(const Bytes& bytes, const std::string& name = "texture.pcx") {
    return decodeImage(bytes, detectImageFormat(bytes, name));
}

// Sizes, palette and indices consistent, as every decoded image must be.
void expectConsistent(const Image& image) {
    ASSERT_GT(image.width, 0u);
    ASSERT_GT(image.height, 0u);
    const size_t channels = image.format == PixelFormat::kPaletted ? 1 : image.format == PixelFormat::kRgb ? 3 : 4;
    ASSERT_EQ(image.pixels.size(), size_t{image.width} * image.height * channels);
    if (image.format == PixelFormat::kPaletted) {
        ASSERT_GE(image.palette.size(), 1u);
        ASSERT_LE(image.palette.size(), 256u);
        for (uint8_t index : image.pixels) {
            ASSERT_LT(index, image.palette.size());
        }
    }
}

struct SmallFile {
    std::string name;
    Bytes bytes;
    size_t mustHave;  // every prefix shorter than this must fail
};

std::vector<SmallFile> smallFiles() {
    const Image paletted = patternImage(9, 5, PixelFormat::kPaletted);
    const Image ega = patternImage(17, 3, PixelFormat::kPaletted, 16);
    const Image rgb = patternImage(9, 5, PixelFormat::kRgb);
    const Image rgba = patternImage(6, 4, PixelFormat::kRgba);
    const Bytes pcx8 = tools::encodePcx(paletted, PcxWriteForm::kIndexed);
    const auto whole = [](std::string name, Bytes bytes) {
        const size_t size = bytes.size();
        return SmallFile{std::move(name), std::move(bytes), size};
    };
    const Bytes bmp8 = tools::encodeBmp(paletted);
    const Bytes bmp24 = tools::encodeBmp(rgb);
    return {{"8.pcx", pcx8, pcx8.size() - kPcxTableSize},
            whole("24.pcx", tools::encodePcx(rgb, PcxWriteForm::kRgb)),
            whole("planes.pcx", tools::encodePcx(ega, PcxWriteForm::kBitPlanes4)),
            whole("nibbles.pcx", tools::encodePcx(ega, PcxWriteForm::kNibbles)),
            whole("mono.pcx", tools::encodePcx(patternImage(17, 3, PixelFormat::kPaletted, 2), PcxWriteForm::kMonochrome)),
            {"8.bmp", bmp8, bmp8.size() - 3},  // the last row's padding may be missing
            {"24.bmp", bmp24, bmp24.size() - 1},
            whole("32.bmp", tools::encodeBmp(rgba)),
            whole("24.tga", tools::encodeTga(rgb)),
            whole("24-rle.tga", tools::encodeTga(rgb, {.runLength = true})),
            whole("mapped-rle.tga", tools::encodeTga(paletted, {.runLength = true})),
            whole("32-rle.tga", tools::encodeTga(rgba, {.runLength = true}))};
}

// Each prefix in an allocation of its own size, so that AddressSanitizer sees
// any read past its end.
TEST(ImageHostile, EveryPrefixFailsOrDecodesConsistently) {
    for (const SmallFile& file : smallFiles()) {
        SCOPED_TRACE(file.name);
        ASSERT_TRUE(decode(file.bytes, file.name).image);
        for (size_t size = 0; size < file.bytes.size(); ++size) {
            const Bytes prefix(file.bytes.begin(), file.bytes.begin() + static_cast<std::ptrdiff_t>(size));
            const DecodedImage decoded = decode(prefix, file.name);
            SCOPED_TRACE(size);
            if (size < file.mustHave) {
                ASSERT_FALSE(decoded.image);
            }
            if (decoded.image) {
                expectConsistent(*decoded.image);
            } else {
                ASSERT_FALSE(decoded.error.empty());
            }
        }
    }
}

struct HugeCase {
    std::string name;
    Bytes bytes;
    std::string error;
};

Bytes bmpDeclaring(int32_t width, int32_t height) {
    Bytes bytes = tools::encodeBmp(patternImage(2, 2, PixelFormat::kRgb));
    putU32(bytes, 18, static_cast<uint32_t>(width));
    putU32(bytes, 22, static_cast<uint32_t>(height));
    return bytes;
}

Bytes tgaDeclaring(uint32_t width, uint32_t height, bool runLength) {
    Bytes bytes = tools::encodeTga(patternImage(2, 2, PixelFormat::kRgba), {.runLength = runLength});
    putU16(bytes, 12, width);
    putU16(bytes, 14, height);
    return bytes;
}

std::vector<HugeCase> hugeCases() {
    const Bytes someRuns = {0xFF, 1, 0xFF, 2, 0xFF, 3, 0xFF, 4};
    return {
        {"pcx8", withGreyTable(pcxFile({.width = 65535, .height = 65535, .bytesPerLine = 65535}, someRuns)),
         "image is 65535 x 65535 pixels, more than its file can hold"},
        {"pcx24", pcxFile({.planes = 3, .width = 65535, .height = 65535, .bytesPerLine = 65535}, someRuns),
         "image is 65535 x 65535 pixels, more than its file can hold"},
        {"pcx1x4", pcxFile({.bits = 1, .planes = 4, .width = 65535, .height = 65535, .bytesPerLine = 8192}, someRuns),
         "image is 65535 x 65535 pixels, more than its file can hold"},
        {"pcx-wide", pcxFile({.width = 20000, .height = 1, .bytesPerLine = 20000}, Bytes(800, 0xFF)),
         "image is 20000 x 1 pixels, larger than 16384 on a side"},
        {"bmp", bmpDeclaring(16000, 16000), "image is 16000 x 16000 pixels, more than its file can hold"},
        {"bmp-top-down", bmpDeclaring(16000, -16000), "image is 16000 x 16000 pixels, more than its file can hold"},
        {"bmp-wide", bmpDeclaring(60000, 2), "image is 60000 x 2 pixels, larger than 16384 on a side"},
        {"bmp-lowest-height", bmpDeclaring(2, INT32_MIN), "image is 2 x 2147483648 pixels, larger than 16384 on a side"},
        {"tga", tgaDeclaring(16000, 16000, false), "image is 16000 x 16000 pixels, more than its file can hold"},
        {"tga-rle", tgaDeclaring(16000, 16000, true), "image is 16000 x 16000 pixels, more than its file can hold"},
        {"tga-wide", tgaDeclaring(65535, 65535, true), "image is 65535 x 65535 pixels, larger than 16384 on a side"},
    };
}

TEST(ImageHostile, HugeDeclaredSizesFailFastWithoutAllocating) {
    for (const HugeCase& hugeCase : hugeCases()) {
        SCOPED_TRACE(hugeCase.name);
        const auto start = std::chrono::steady_clock::now();
        const AllocationWatch watch;
        const DecodedImage decoded = decode(hugeCase.bytes, hugeCase.name + ".tga");
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_FALSE(decoded.image);
        EXPECT_EQ(decoded.error, hugeCase.error);
        EXPECT_LT(watch.largest(), kSmallAllocation);
        EXPECT_LT(elapsed, std::chrono::milliseconds(200));
    }
}

// An encoded stream can expand to 63 bytes for every two: a file that needs
// exactly that decodes, one that needs a byte more each row is refused
// before decoding.
TEST(ImageHostile, PcxSizeCheckIsExactAtTheLimit) {
    const Bytes fullRuns = {0xFF, 5, 0xFF, 6};
    const DecodedImage fits = decode(withGreyTable(pcxFile({.width = 63, .height = 2, .bytesPerLine = 63}, fullRuns)));
    ASSERT_TRUE(fits.image) << fits.error;
    Bytes expected(126, 6);
    std::fill_n(expected.begin(), 63, 5);
    EXPECT_EQ(fits.image->pixels, expected);
    const DecodedImage tooMany = decode(withGreyTable(pcxFile({.width = 64, .height = 2, .bytesPerLine = 64}, fullRuns)));
    EXPECT_EQ(tooMany.error, "image is 64 x 2 pixels, more than its file can hold");
}

Bytes decodedPixels(const Bytes& file) {
    const DecodedImage decoded = decode(file);
    EXPECT_TRUE(decoded.image) << decoded.error;
    return decoded.image ? decoded.image->pixels : Bytes{};
}

// Runs cut short, running past the image, of length zero; a palette marker
// missing; data a row short.
TEST(ImageHostile, DamagedPcxRunsAndPalettes) {
    const PcxFields small;  // 4 x 2, 8 bits
    EXPECT_EQ(decode(withGreyTable(pcxFile(small, {0xC7, 7, 0xC3}))).error, "PCX data ends early");
    EXPECT_EQ(decode(pcxFile(small, {0xC4, 7, 1, 2, 3})).error, "PCX data ends early");
    EXPECT_EQ(decodedPixels(withGreyTable(pcxFile(small, {0xC9, 7}))), Bytes(8, 7));
    EXPECT_EQ(decodedPixels(withGreyTable(pcxFile(small, {0xC0, 0x55, 0xC4, 7, 0xC0, 0x66, 0xC4, 9, 0xC0}))),
              (Bytes{7, 7, 7, 7, 9, 9, 9, 9}));
    const PcxFields rgb{.planes = 3};
    EXPECT_EQ(decode(pcxFile(rgb, Bytes(12, 1))).error, "PCX data ends early");
    EXPECT_EQ(decodedPixels(pcxFile(rgb, {0xC9, 1, 0xC9, 2, 0xC6, 3})),
              (Bytes{1, 1, 1, 1, 1, 2, 1, 1, 2, 1, 1, 2, 2, 2, 3, 2, 2, 3, 2, 3, 3, 2, 3, 3}));

    // No marker in front of the last 769 bytes: the indices are grey levels,
    // as Pillow reads them, and those bytes are no part of the image.
    Bytes unmarked = withGreyTable(pcxFile(small, {0xC4, 200, 0xC4, 3}));
    unmarked[unmarked.size() - kPcxTableSize] = 0x0B;
    const DecodedImage grey = decode(unmarked);
    ASSERT_TRUE(grey.image) << grey.error;
    EXPECT_EQ(grey.image->format, PixelFormat::kPaletted);
    EXPECT_EQ(grey.image->pixels, (Bytes{200, 200, 200, 200, 3, 3, 3, 3}));
    ASSERT_EQ(grey.image->palette.size(), 256u);
    for (size_t index = 0; index < 256; ++index) {
        const auto level = static_cast<uint8_t>(index);
        EXPECT_EQ(grey.image->palette[index], (std::array<uint8_t, 3>{level, level, level}));
    }
}

TEST(ImageHostile, PcxHeadersOfNoUsableForm) {
    const Bytes data(64, 0x11);
    const struct {
        PcxFields fields;
        std::string error;
    } cases[] = {
        {{.bits = 2}, "PCX form of 2 bits in 1 planes (version 5) not supported"},
        {{.version = 3}, "PCX form of 8 bits in 1 planes (version 3) not supported"},
        {{.planes = 2}, "PCX form of 8 bits in 2 planes (version 5) not supported"},
        {{.bits = 1, .planes = 3}, "PCX form of 1 bits in 3 planes (version 5) not supported"},
        {{.encoding = 0}, "PCX encoding 0 not supported"},
        {{.width = 10, .bytesPerLine = 9}, "PCX line of 9 bytes is too short for 10 pixels"},
        {{.bits = 1, .width = 17, .bytesPerLine = 2}, "PCX line of 2 bytes is too short for 17 pixels"},
        {{.width = 0, .xMin = 5}, "PCX window is empty"},
    };
    for (const auto& [fields, error] : cases) {
        EXPECT_EQ(decodeImage(pcxFile(fields, data), ImageFormat::kPcx).error, error);
    }
}

TEST(ImageFormats, DetectedBySignatureOrTgaName) {
    const Bytes pcx = pcxFile({}, {});
    const Bytes png = encodePng(patternImage(3, 3, PixelFormat::kRgb));
    const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0};
    const Bytes bmp = {'B', 'M', 0, 0};
    const Bytes other = {0, 0, 2, 0, 0, 0};
    EXPECT_EQ(detectImageFormat(pcx, "a.tga"), ImageFormat::kPcx);
    EXPECT_EQ(detectImageFormat(png, "a.pcx"), ImageFormat::kPng);
    EXPECT_EQ(detectImageFormat(jpeg, "a.TGA"), ImageFormat::kJpeg);
    EXPECT_EQ(detectImageFormat(bmp, "a"), ImageFormat::kBmp);
    EXPECT_EQ(detectImageFormat(other, "WALL.TgA"), ImageFormat::kTga);
    EXPECT_EQ(detectImageFormat(other, "wall.tga.bak"), ImageFormat::kUnknown);
    EXPECT_EQ(detectImageFormat(other, "tga"), ImageFormat::kUnknown);
    EXPECT_EQ(detectImageFormat({}, "x.pcx"), ImageFormat::kUnknown);
    EXPECT_EQ(detectImageFormat(Bytes{0x0A, 5}, "x.pcx"), ImageFormat::kUnknown);
    EXPECT_EQ(detectImageFormat(Bytes{0x0A, 1, 1}, "x.pcx"), ImageFormat::kUnknown);  // no PCX version 1
    EXPECT_EQ(detectImageFormat(Bytes{0x0A, 5, 0}, "x.pcx"), ImageFormat::kUnknown);  // not run-length encoded
    EXPECT_EQ(detectImageFormat(Bytes{0x89, 'P', 'N', 'G'}, "x.png"), ImageFormat::kUnknown);
}

// A JPEG header as far as its frame: the start marker, the segments given,
// then a frame of the size and components given.
Bytes jpegHeader(uint32_t width, uint32_t height, const Bytes& segments = {}, uint8_t frame = 0xC0,
                 uint8_t components = 3) {
    Bytes bytes = {0xFF, 0xD8};
    bytes.insert(bytes.end(), segments.begin(), segments.end());
    const auto length = static_cast<uint8_t>(8 + 3 * components);
    const Bytes fields = {0xFF, frame, 0, length, 8, static_cast<uint8_t>(height >> 8), static_cast<uint8_t>(height),
                          static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(width), components};
    bytes.insert(bytes.end(), fields.begin(), fields.end());
    for (uint8_t component = 1; component <= components; ++component) {
        bytes.insert(bytes.end(), {component, 0x11, 0});
    }
    return bytes;
}

// Headers walked marker by marker to the frame: segments stepped over by
// their lengths, fill bytes, markers of no segment; a scan or the end before
// any frame, and lengths that cannot be, refused.
TEST(ImageFormats, JpegHeaderWalkFindsTheFrame) {
    const Bytes app0 = {0xFF, 0xE0, 0, 6, 0xFF, 0xC0, 0xFF, 0xD9};  // holds bytes that look like markers
    const Bytes huffmanTable = {0xFF, 0xC4, 0, 20, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};  // counts far over 256
    const Bytes fillAndRestart = {0xFF, 0xFF, 0xFF, 0xD0};
    EXPECT_EQ(checkImageHeader(jpegHeader(640, 480, app0), ImageFormat::kJpeg), "");
    EXPECT_EQ(checkImageHeader(jpegHeader(64, 48, huffmanTable), ImageFormat::kJpeg), "");
    EXPECT_EQ(checkImageHeader(jpegHeader(64, 48, fillAndRestart), ImageFormat::kJpeg), "");
    EXPECT_EQ(checkImageHeader(jpegHeader(64, 48, {}, 0xC2), ImageFormat::kJpeg), "");
    EXPECT_EQ(checkImageHeader(jpegHeader(64, 48, {}, 0xC0, 1), ImageFormat::kJpeg), "");
    EXPECT_EQ(checkImageHeader(jpegHeader(64, 48, {}, 0xC0, 2), ImageFormat::kJpeg),
              "JPEG of 2 components not supported");
    EXPECT_EQ(checkImageHeader(jpegHeader(64, 48, {0xFF, 0xDA, 0, 2}), ImageFormat::kJpeg),
              "JPEG without a frame header");
    EXPECT_EQ(checkImageHeader(jpegHeader(64, 48, {0xFF, 0xE1, 0, 1}), ImageFormat::kJpeg),
              "JPEG segment length damaged");
    EXPECT_EQ(checkImageHeader(jpegHeader(64, 48, {0xFF, 0xE1, 0xFF, 0xF0}), ImageFormat::kJpeg),
              "JPEG data ends early");
    EXPECT_EQ(checkImageHeader(jpegHeader(64, 48, {0xFF, 0xE1, 0, 2, 0x12}), ImageFormat::kJpeg),
              "JPEG marker missing");
    Bytes longFrame = jpegHeader(64, 48);
    longFrame[5] = 18;
    EXPECT_EQ(checkImageHeader(longFrame, ImageFormat::kJpeg), "JPEG frame header damaged");
    const Bytes whole = jpegHeader(64, 48);
    for (size_t size = 0; size < whole.size(); ++size) {
        EXPECT_NE(checkImageHeader(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)),
                                   ImageFormat::kJpeg),
                  "")
            << size;
    }
}

TEST(ImageFormats, PngAndJpegHeadersAreCheckedNotDecoded) {
    const Bytes png = encodePng(patternImage(5, 4, PixelFormat::kRgba));
    EXPECT_EQ(checkImageHeader(png, ImageFormat::kPng), "");
    const auto withWidth = [&png](uint32_t width) {
        Bytes bytes = png;
        for (size_t index = 0; index < 4; ++index) {  // big-endian, the first field of IHDR
            bytes[16 + index] = static_cast<uint8_t>(width >> (24 - 8 * index));
        }
        return bytes;
    };
    EXPECT_EQ(checkImageHeader(withWidth(20000), ImageFormat::kPng),
              "image is 20000 x 4 pixels, larger than 16384 on a side");
    EXPECT_NE(checkImageHeader(withWidth(100000), ImageFormat::kPng), "");
    EXPECT_NE(checkImageHeader(withWidth(0), ImageFormat::kPng), "");
    EXPECT_NE(checkImageHeader(Bytes(png.begin(), png.begin() + 20), ImageFormat::kPng), "");
    EXPECT_EQ(checkImageHeader(png, ImageFormat::kJpeg), "not a JPEG file");

    EXPECT_EQ(checkImageHeader(jpegHeader(640, 480), ImageFormat::kJpeg), "");
    EXPECT_EQ(checkImageHeader(jpegHeader(30000, 20), ImageFormat::kJpeg),
              "image is 30000 x 20 pixels, larger than 16384 on a side");
    EXPECT_EQ(checkImageHeader(jpegHeader(640, 0), ImageFormat::kJpeg), "image is 640 x 0 pixels, which is empty");
    EXPECT_NE(checkImageHeader(Bytes{0xFF, 0xD8, 0xFF}, ImageFormat::kJpeg), "");
    EXPECT_EQ(checkImageHeader(pcxFile({}, {}), ImageFormat::kPcx), "not a PNG or JPEG file");
}

TEST(ImageFormats, DecodersTakeOnlyTheirOwnFormat) {
    const Bytes png = encodePng(patternImage(5, 4, PixelFormat::kRgb));
    const Bytes bmp = tools::encodeBmp(patternImage(5, 4, PixelFormat::kRgb));
    EXPECT_EQ(decodeImage(bmp, ImageFormat::kPng).error, "not a PNG file");
    EXPECT_EQ(decodeImage(jpegHeader(640, 480), ImageFormat::kJpeg).error,
              "image is 640 x 480 pixels, more than its file can hold");
    EXPECT_EQ(decodeImage(png, ImageFormat::kBmp).error, "not a BMP file");
    EXPECT_EQ(decodeImage(png, ImageFormat::kTga).error, "not a TGA file");
    EXPECT_EQ(decodeImage(bmp, ImageFormat::kTga).error, "not a TGA file");
    EXPECT_EQ(decodeImage(bmp, ImageFormat::kPcx).error, "not a PCX file");
    EXPECT_TRUE(decodeImage(bmp, ImageFormat::kBmp).image);
    const std::optional<Image> decoded = decodeImage(png, ImageFormat::kPng).image;
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixels, patternImage(5, 4, PixelFormat::kRgb).pixels);
}

// An empty image data chunk before any data, which PNG allows and which
// stb_image would copy from a null buffer, is refused before it gets there.
TEST(ImageFormats, PngWithAnEmptyFirstDataChunkIsNotDecoded) {
    Bytes png = encodePng(patternImage(8, 8, PixelFormat::kRgb));
    const auto data = std::search(png.begin(), png.end(), std::begin("IDAT"), std::end("IDAT") - 1) - 4;
    const Bytes emptyChunk{0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};  // with its CRC
    png.insert(data, emptyChunk.begin(), emptyChunk.end());
    EXPECT_EQ(decodeImage(png, ImageFormat::kPng).error, "PNG file with an empty image data chunk");
    EXPECT_EQ(checkImageHeader(png, ImageFormat::kPng), "");
}

// stb_image writes past its table on a Huffman table of more than 256
// codes: such a table is refused before decoding, wherever it stands.
TEST(ImageFormats, JpegHuffmanTableOfTooManyCodesIsNotDecoded) {
    const Bytes frame{0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0, 8, 0, 8, 1, 1, 0x11, 0};
    auto withTable = [&](uint8_t codesOfEachLength) {
        Bytes jpeg = frame;
        const Bytes table{0xFF, 0xC4, 0, 19, 0x00};
        jpeg.insert(jpeg.end(), table.begin(), table.end());
        jpeg.insert(jpeg.end(), 16, codesOfEachLength);
        jpeg.insert(jpeg.end(), size_t{16} * codesOfEachLength, 0);
        jpeg.insert(jpeg.end(), {0xFF, 0xD9});
        return jpeg;
    };
    EXPECT_EQ(decodeImage(withTable(17), ImageFormat::kJpeg).error, "JPEG Huffman table damaged");
    EXPECT_EQ(decodeImage(withTable(255), ImageFormat::kJpeg).error, "JPEG Huffman table damaged");
    const DecodedImage withFullTable = decodeImage(withTable(16), ImageFormat::kJpeg);
    EXPECT_NE(withFullTable.error, "JPEG Huffman table damaged");
}

// stb_image sets aside an image data chunk's declared length before reading
// it: a chunk declaring more bytes than the file holds is refused first,
// however few it declares too many.
TEST(ImageFormats, PngWhoseDataChunkRunsPastTheEndIsNotDecoded) {
    const Bytes whole = encodePng(patternImage(8, 8, PixelFormat::kRgb));
    const auto lengthAt = std::search(whole.begin(), whole.end(), std::begin("IDAT"), std::end("IDAT") - 1) - 4;
    for (const uint32_t length : {uint32_t{0x7FFFFFF0}, uint32_t{0xFFFFFFFF}}) {
        Bytes png = whole;
        const auto at = png.begin() + (lengthAt - whole.begin());
        for (size_t index = 0; index < 4; ++index) at[index] = static_cast<uint8_t>(length >> (24 - 8 * index));
        EXPECT_EQ(decodeImage(png, ImageFormat::kPng).error, "PNG file whose image data runs past its end") << length;
    }
    Bytes cut(whole.begin(), lengthAt + 8 + 4);  // the chunk's frame and a few of its bytes
    EXPECT_EQ(decodeImage(cut, ImageFormat::kPng).error, "PNG file whose image data runs past its end");
    EXPECT_TRUE(decodeImage(whole, ImageFormat::kPng).image);
}

// Deflate makes at most 1032 bytes of one: a small PNG that declares more
// pixels than that is refused before any memory is set aside for them.
TEST(ImageFormats, PngDeclaringMorePixelsThanItsFileCanHoldIsNotDecoded) {
    Bytes png = encodePng(patternImage(16, 16, PixelFormat::kRgb));
    for (size_t index = 0; index < 4; ++index) {  // width and height 16384, big-endian
        png[16 + index] = static_cast<uint8_t>(16384 >> (24 - 8 * index));
        png[20 + index] = static_cast<uint8_t>(16384 >> (24 - 8 * index));
    }
    const DecodedImage decoded = decodeImage(png, ImageFormat::kPng);
    EXPECT_FALSE(decoded.image);
    EXPECT_EQ(decoded.error, "image is 16384 x 16384 pixels, more than its file can hold");
}

TEST(ImagePng, InconsistentImagesGiveNoFile) {
    Image image = patternImage(4, 3, PixelFormat::kRgb);
    ASSERT_FALSE(encodePng(image).empty());
    image.pixels.pop_back();
    EXPECT_TRUE(encodePng(image).empty());
    Image paletted = patternImage(4, 3, PixelFormat::kPaletted, 16);
    paletted.palette.clear();
    EXPECT_TRUE(encodePng(paletted).empty());
    Image empty;
    EXPECT_TRUE(encodePng(empty).empty());
}

}  // namespace
}  // namespace zelvane
