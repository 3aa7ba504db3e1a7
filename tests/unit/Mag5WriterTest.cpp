// Byte layout of the files the MAG5 writer produces. The fixtures of the
// loader tests come from this writer, so its offsets are checked here against
// the file format directly, byte by byte.
#include "mag5writer/Mag5Writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zelvane::tools {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kHeaderSize = 12;
constexpr size_t kTextureRecordSize = 32;
constexpr size_t kCountsSize = 8;
constexpr size_t kVertexRecordSize = 28;
constexpr size_t kPolygonRecordSize = 68;

uint64_t readLittleEndian(const Bytes& bytes, size_t offset, size_t width) {
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) {
        value |= static_cast<uint64_t>(bytes.at(offset + i)) << (8 * i);
    }
    return value;
}

uint32_t readU32(const Bytes& bytes, size_t offset) {
    return static_cast<uint32_t>(readLittleEndian(bytes, offset, 4));
}

float readF32(const Bytes& bytes, size_t offset) { return std::bit_cast<float>(readU32(bytes, offset)); }

double readF64(const Bytes& bytes, size_t offset) {
    return std::bit_cast<double>(readLittleEndian(bytes, offset, 8));
}

Bytes slice(const Bytes& bytes, size_t offset, size_t size) {
    EXPECT_LE(offset + size, bytes.size());
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

void expectFilled(const Bytes& bytes, size_t offset, size_t size, uint8_t fill) {
    EXPECT_EQ(slice(bytes, offset, size), Bytes(size, fill)) << "at offset " << offset;
}

size_t polygonTableOffset(size_t textures, size_t vertices) {
    return kHeaderSize + kTextureRecordSize * textures + kCountsSize + kVertexRecordSize * vertices;
}

Mag5PolygonSpec polygonWithCorners(size_t cornerCount) {
    Mag5PolygonSpec polygon;
    for (size_t k = 0; k < cornerCount; ++k) {
        polygon.corners.push_back({static_cast<uint32_t>(k), 0.0f, 0.0f});
    }
    return polygon;
}

// ---- header and texture table ----------------------------------------------

TEST(Mag5WriterHeader, StartsWithMagicCountAndFilledReservedWord) {
    Mag5ModelSpec model;
    model.textures = {"a.pcx", "b.pcx", "c.pcx"};
    model.reservedFill = 0x5A;
    const Bytes bytes = encodeMag5(model);

    EXPECT_EQ(slice(bytes, 0, 4), (Bytes{'M', 'A', 'G', '5'}));
    EXPECT_EQ(readU32(bytes, 0), 0x3547414Du);
    EXPECT_EQ(slice(bytes, 4, 4), (Bytes{3, 0, 0, 0}));
    expectFilled(bytes, 8, 4, 0x5A);
}

TEST(Mag5WriterHeader, EmptyModelIsHeaderAndZeroCounts) {
    const Bytes bytes = encodeMag5(Mag5ModelSpec{});
    ASSERT_EQ(bytes.size(), kHeaderSize + kCountsSize);
    EXPECT_EQ(readU32(bytes, 4), 0u);
    EXPECT_EQ(slice(bytes, 12, 8), Bytes(8, 0));
}

TEST(Mag5WriterTextures, CountsFollowTheTextureTable) {
    for (size_t textureCount : {0u, 1u, 2u, 5u}) {
        Mag5ModelSpec model;
        model.textures.assign(textureCount, "t.pcx");
        model.vertices.resize(3);
        model.polygons.push_back(polygonWithCorners(3));
        const Bytes bytes = encodeMag5(model);

        const size_t countsOffset = 12 + 32 * textureCount;
        EXPECT_EQ(readU32(bytes, countsOffset), 3u) << textureCount << " textures";
        EXPECT_EQ(readU32(bytes, countsOffset + 4), 1u) << textureCount << " textures";
    }
}

TEST(Mag5WriterTextures, TwoTexturesPutTheCountsAtOffset76) {
    Mag5ModelSpec model;
    model.textures = {"brick.pcx", "roof.pcx"};
    model.vertices.resize(7);
    EXPECT_EQ(readU32(encodeMag5(model), 76), 7u);
}

TEST(Mag5WriterTextures, ShortNameIsPaddedWithNul) {
    Mag5ModelSpec model;
    model.textures = {"roof.pcx", ""};
    model.reservedFill = 0xEE;
    const Bytes bytes = encodeMag5(model);

    const std::string name = "roof.pcx";
    EXPECT_EQ(slice(bytes, 12, name.size()), Bytes(name.begin(), name.end()));
    EXPECT_EQ(slice(bytes, 12 + name.size(), 32 - name.size()), Bytes(32 - name.size(), 0));
    EXPECT_EQ(slice(bytes, 44, 32), Bytes(32, 0)) << "the empty name is all NUL";
}

TEST(Mag5WriterTextures, ThirtyTwoByteNameHasNoNul) {
    const std::string name = "abcdefghijklmnopqrstuvwxyz012345";
    ASSERT_EQ(name.size(), 32u);
    Mag5ModelSpec model;
    model.textures = {name};
    model.vertices.resize(2);
    const Bytes bytes = encodeMag5(model);

    EXPECT_EQ(slice(bytes, 12, 32), Bytes(name.begin(), name.end()));
    EXPECT_EQ(readU32(bytes, 44), 2u) << "the vertex count follows the name directly";
}

// ---- vertex table ------------------------------------------------------------

TEST(Mag5WriterVertices, RecordsHoldSixFloatsAndFilledReservedBytes) {
    Mag5ModelSpec model;
    model.textures = {"t.pcx"};
    model.vertices = {{{1.0f, -2.5f, 3.25f}, {0.0f, 1.0f, 0.0f}}, {{4.0f, 5.0f, 6.0f}, {0.6f, 0.0f, -0.8f}}};
    model.reservedFill = 0xC3;
    const Bytes bytes = encodeMag5(model);

    const size_t first = 12 + 32 + 8;
    EXPECT_EQ(slice(bytes, first, 4), (Bytes{0x00, 0x00, 0x80, 0x3F})) << "1.0f, little-endian";
    for (size_t v = 0; v < model.vertices.size(); ++v) {
        const size_t record = first + 28 * v;
        for (size_t axis = 0; axis < 3; ++axis) {
            EXPECT_EQ(readF32(bytes, record + 4 * axis), model.vertices[v].position[axis]);
            EXPECT_EQ(readF32(bytes, record + 12 + 4 * axis), model.vertices[v].normal[axis]);
        }
        expectFilled(bytes, record + 24, 4, 0xC3);
    }
    EXPECT_EQ(bytes.size(), polygonTableOffset(1, 2));
}

// ---- polygon records -----------------------------------------------------------

class Mag5WriterPolygonRecord : public ::testing::Test {
protected:
    Mag5WriterPolygonRecord() {
        model.textures = {"a.pcx", "b.pcx"};
        model.vertices.resize(4);
        model.reservedFill = 0x3C;
        Mag5PolygonSpec polygon = polygonWithCorners(4);
        polygon.flags = 0x04030201;
        polygon.faceNormal = {0.6, -0.0, -0.8};
        polygon.colour = {200, 100, 50, 25};
        polygon.textureIndex = -1;
        model.polygons.push_back(polygon);
    }

    Bytes encodeRecord() {
        return slice(encodeMag5(model), polygonTableOffset(2, 4), kPolygonRecordSize);
    }

    Mag5ModelSpec model;
};

TEST_F(Mag5WriterPolygonRecord, FlagsAreLittleEndian) {
    EXPECT_EQ(slice(encodeRecord(), 0, 4), (Bytes{0x01, 0x02, 0x03, 0x04}));
}

TEST_F(Mag5WriterPolygonRecord, ReservedRangesHoldTheFill) {
    const Bytes record = encodeRecord();
    expectFilled(record, 4, 20, 0x3C);
    expectFilled(record, 48, 8, 0x3C);
}

TEST_F(Mag5WriterPolygonRecord, FaceNormalIsThreeDoublesAtOffset24) {
    const Bytes record = encodeRecord();
    EXPECT_EQ(std::bit_cast<uint64_t>(readF64(record, 24)), std::bit_cast<uint64_t>(0.6));
    EXPECT_EQ(std::bit_cast<uint64_t>(readF64(record, 32)), std::bit_cast<uint64_t>(-0.0)) << "sign bit kept";
    EXPECT_EQ(std::bit_cast<uint64_t>(readF64(record, 40)), std::bit_cast<uint64_t>(-0.8));

    model.polygons[0].faceNormal = {1.0, 0.0, 0.0};
    EXPECT_EQ(slice(encodeRecord(), 24, 8), (Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F})) << "1.0, little-endian";
}

TEST_F(Mag5WriterPolygonRecord, ColourBytesKeepChannelOrder) {
    EXPECT_EQ(slice(encodeRecord(), 56, 4), (Bytes{200, 100, 50, 25}));
}

TEST_F(Mag5WriterPolygonRecord, TextureIndexIsSignedLittleEndian) {
    EXPECT_EQ(slice(encodeRecord(), 60, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    model.polygons[0].textureIndex = 1;
    EXPECT_EQ(slice(encodeRecord(), 60, 4), (Bytes{0x01, 0x00, 0x00, 0x00}));
    model.polygons[0].textureIndex = 0x01020304;
    EXPECT_EQ(slice(encodeRecord(), 60, 4), (Bytes{0x04, 0x03, 0x02, 0x01}));
}

TEST_F(Mag5WriterPolygonRecord, CornerCountIsTheLastWord) {
    EXPECT_EQ(readU32(encodeRecord(), 64), 4u);
    model.polygons[0] = polygonWithCorners(3);
    EXPECT_EQ(readU32(encodeRecord(), 64), 3u);
}

// ---- corner blocks -------------------------------------------------------------

// A polygon of n corners with distinct indices, coordinates and tail words, in
// a model without textures and vertices, so its record starts at offset 20.
Mag5ModelSpec modelWithOnePolygon(size_t cornerCount) {
    Mag5ModelSpec model;
    model.reservedFill = 0x96;
    Mag5PolygonSpec polygon;
    for (size_t k = 0; k < cornerCount; ++k) {
        const float step = static_cast<float>(k);
        polygon.corners.push_back({static_cast<uint32_t>(100 + k), 0.25f + step, -0.5f - step});
    }
    polygon.tailAWord1 = 0xA1A2A3A4;
    polygon.tailBWord1 = 0xB1B2B3B4;
    model.polygons.push_back(polygon);
    return model;
}

TEST(Mag5WriterCornerBlock, BlockIsTwelveBytesPerCornerPlusSixteen) {
    EXPECT_EQ(encodeMag5(modelWithOnePolygon(3)).size() - 20, 68u + 52u);
    EXPECT_EQ(encodeMag5(modelWithOnePolygon(4)).size() - 20, 68u + 64u);
    EXPECT_EQ(encodeMag5(modelWithOnePolygon(5)).size() - 20, 144u);
    EXPECT_EQ(encodeMag5(modelWithOnePolygon(0)).size() - 20, 84u);
}

TEST(Mag5WriterCornerBlock, IndicesThenUThenVArrays) {
    for (size_t n : {3u, 4u, 5u}) {
        const Mag5ModelSpec model = modelWithOnePolygon(n);
        const Bytes bytes = encodeMag5(model);
        const size_t block = 20 + 68;
        for (size_t k = 0; k < n; ++k) {
            const Mag5CornerSpec& corner = model.polygons[0].corners[k];
            EXPECT_EQ(readU32(bytes, block + 4 * k), corner.vertex) << n << " corners, corner " << k;
            EXPECT_EQ(readF32(bytes, block + 4 * n + 4 * k), corner.u) << n << " corners, corner " << k;
            EXPECT_EQ(readF32(bytes, block + 8 * n + 4 * k), corner.v) << n << " corners, corner " << k;
        }
    }
}

TEST(Mag5WriterCornerBlock, TailWordsFollowTheArrays) {
    for (size_t n : {0u, 3u, 4u, 5u}) {
        const Bytes bytes = encodeMag5(modelWithOnePolygon(n));
        const size_t block = 20 + 68;
        expectFilled(bytes, block + 12 * n, 4, 0x96);
        EXPECT_EQ(slice(bytes, block + 12 * n + 4, 4), (Bytes{0xA4, 0xA3, 0xA2, 0xA1})) << n << " corners";
        expectFilled(bytes, block + 12 * n + 8, 4, 0x96);
        EXPECT_EQ(slice(bytes, block + 12 * n + 12, 4), (Bytes{0xB4, 0xB3, 0xB2, 0xB1})) << n << " corners";
    }
}

TEST(Mag5WriterCornerBlock, QuadRecordStarts120BytesAfterTriangleRecord) {
    Mag5ModelSpec model;
    model.textures = {"t.pcx"};
    model.vertices.resize(4);
    Mag5PolygonSpec triangle = polygonWithCorners(3);
    triangle.flags = 1;
    Mag5PolygonSpec quad = polygonWithCorners(4);
    quad.flags = 2;
    quad.tailBWord1 = 77;
    model.polygons = {triangle, quad};
    const Bytes bytes = encodeMag5(model);

    const size_t triangleRecord = polygonTableOffset(1, 4);
    const size_t quadRecord = triangleRecord + 120;
    EXPECT_EQ(readU32(bytes, triangleRecord), 1u);
    EXPECT_EQ(readU32(bytes, triangleRecord + 64), 3u);
    EXPECT_EQ(readU32(bytes, quadRecord), 2u);
    EXPECT_EQ(readU32(bytes, quadRecord + 64), 4u);
    EXPECT_EQ(readU32(bytes, quadRecord + 68 + 4 * 3), 3u) << "the quad's block starts 68 bytes after its record";
    EXPECT_EQ(readU32(bytes, quadRecord + 68 + 60), 77u);
    EXPECT_EQ(bytes.size(), quadRecord + 68 + 64);
}

TEST(Mag5WriterCornerBlock, OddCornerCountsDoNotShiftTheNextPolygon) {
    for (size_t n : {0u, 5u}) {
        Mag5ModelSpec model;
        Mag5PolygonSpec odd = polygonWithCorners(n);
        Mag5PolygonSpec next = polygonWithCorners(3);
        next.flags = 0xCAFE;
        model.polygons = {odd, next};
        const Bytes bytes = encodeMag5(model);

        const size_t nextRecord = 20 + 68 + 12 * n + 16;
        EXPECT_EQ(readU32(bytes, nextRecord), 0xCAFEu) << n << " corners";
        EXPECT_EQ(readU32(bytes, nextRecord + 64), 3u) << n << " corners";
    }
}

// ---- whole files --------------------------------------------------------------

TEST(Mag5WriterFile, FileSizeFollowsTheCounts) {
    Mag5ModelSpec model;
    model.textures = {"a", "b"};
    model.vertices.resize(5);
    model.polygons = {polygonWithCorners(3), polygonWithCorners(4), polygonWithCorners(5), polygonWithCorners(0)};
    const size_t expected = 20 + 32 * 2 + 28 * 5 + (84 + 36) + (84 + 48) + (84 + 60) + 84;
    EXPECT_EQ(encodeMag5(model).size(), expected);
}

TEST(Mag5WriterFile, SaveWritesTheEncodedBytes) {
    Mag5ModelSpec model;
    model.textures = {"a.pcx"};
    model.vertices = {{{1.0f, 2.0f, 3.0f}, {0.0f, 0.0f, 1.0f}}};
    model.polygons = {polygonWithCorners(3)};
    const std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / "mag5writer_save.mag";

    ASSERT_TRUE(saveMag5(model, path.string()));
    std::ifstream in(path, std::ios::binary);
    const Bytes written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(written, encodeMag5(model));
    std::filesystem::remove(path);
}

TEST(Mag5WriterFile, SaveReportsAnUnwritablePath) {
    const std::filesystem::path path =
        std::filesystem::path(::testing::TempDir()) / "mag5writer_no_such_dir" / "model.mag";
    EXPECT_FALSE(saveMag5(Mag5ModelSpec{}, path.string()));
}

}  // namespace
}  // namespace zelvane::tools
