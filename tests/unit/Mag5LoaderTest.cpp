#include <gtest/gtest.h>
#include <sys/resource.h>

#include "Files.h"
#include "Models.h"
#include "TempFolder.h"
#include "mag5/Mag5Loader.h"

namespace zelvane {
namespace {

using namespace test;

// Passes when the file loaded whole, and shows the failure's words when not.
::testing::AssertionResult loadedWhole(const LoadResult& result) {
    if (!result.error) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << result.error.words;
}

class Mag5Loader : public ::testing::Test {
protected:
    LoadResult load(const Mag5ModelSpec& model, const std::string& name = "model.mag") {
        saveModel(model, folder.file(name));
        return loadMagFile(folder.file(name), store);
    }
    LoadResult loadBytes(const std::vector<uint8_t>& bytes) {
        writeFile(folder.file("bytes.mag"), bytes);
        return loadMagFile(folder.file("bytes.mag"), store);
    }

    TempFolder folder;
    MeshStore store;
};

Mag5ModelSpec threeVertices() {
    Mag5ModelSpec model;
    model.vertices = {vertexAt(0, 0, 0, 1, 0, 0), vertexAt(1, 0, 0, 0, 1, 0), vertexAt(0, 1, 0, 0, 0, 1),
                      vertexAt(1, 1, 0, 0, 0, -1)};
    return model;
}

TEST_F(Mag5Loader, ReportCountsTrianglesQuadsAndSkippedPolygons) {
    Mag5ModelSpec model = threeVertices();
    for (int i = 0; i < 200; ++i) {
        const size_t corners = i < 190 ? 3 : i < 198 ? 4 : 5;
        Mag5PolygonSpec polygon = polygonOver(std::vector<uint32_t>(corners, 1), 0);
        polygon.tailBWord1 = static_cast<uint32_t>(i / 40 + 1);  // changes at 0, 40, 80, 120, 160
        model.polygons.push_back(polygon);
    }
    model.textures = {"a"};
    const LoadResult result = load(model);
    ASSERT_TRUE(loadedWhole(result));
    EXPECT_EQ(formatLoadReport(result.report),
              "poly count: 200\n"
              "state changes: 5\n"
              "fragmentation: 2.50%\n"
              "flat shaded polygons: 0\n"
              "pc: 200 tpc:190 qpc: 8\n");
    EXPECT_EQ(store.polygons.size(), 198u);
}

TEST_F(Mag5Loader, EmptyModelReportsZeroFragmentation) {
    const LoadResult result = load(Mag5ModelSpec{});
    ASSERT_TRUE(loadedWhole(result));
    EXPECT_EQ(formatLoadReport(result.report),
              "poly count: 0\nstate changes: 0\nfragmentation: 0.00%\nflat shaded polygons: 0\npc: 0 tpc:0 qpc: 0\n");
    EXPECT_EQ(store.textures.size(), 1u);
    EXPECT_EQ(store.positions.size(), 0u);
}

uint32_t stateChangesOf(const std::vector<Mag5PolygonSpec>& polygons) {
    TempFolder folder;
    Mag5ModelSpec model = threeVertices();
    model.textures = {"t0", "t1"};
    model.polygons = polygons;
    saveModel(model, folder.file("m.mag"));
    MeshStore store;
    const LoadResult result = loadMagFile(folder.file("m.mag"), store);
    EXPECT_TRUE(loadedWhole(result));
    return result.report.stateChanges;
}

TEST(Mag5LoaderStateChanges, ComparesTextureFlagsAndTailWordsOnly) {
    const Mag5PolygonSpec plain = polygonOver({0, 1, 2}, 0);
    EXPECT_EQ(stateChangesOf({plain}), 0u);                       // equals the all-zero start
    EXPECT_EQ(stateChangesOf({polygonOver({0, 1, 2}, -1)}), 1u);  // -1 is not 0
    Mag5PolygonSpec other = polygonOver({2, 1, 0}, 0);
    other.colour = {1, 2, 3, 4};
    other.faceNormal = {5, 6, 7};
    other.corners[0].u = 0.9f;
    EXPECT_EQ(stateChangesOf({plain, other}), 0u);  // colour, normal, corners take no part
    Mag5PolygonSpec flags2 = plain;
    flags2.flags = 2;
    EXPECT_EQ(stateChangesOf({plain, flags2}), 1u);
    Mag5PolygonSpec tailA = plain;
    tailA.tailAWord1 = 1;
    EXPECT_EQ(stateChangesOf({plain, tailA, tailA, plain}), 2u);
}

TEST(Mag5LoaderStateChanges, TriangleThenQuadAndSkippedPolygonsInBetween) {
    Mag5PolygonSpec triangle = polygonOver({0, 1, 2}, 1);
    triangle.tailAWord1 = 7;
    triangle.tailBWord1 = 8;
    Mag5PolygonSpec quad = polygonOver({0, 1, 2, 3}, 1);
    quad.tailAWord1 = 7;
    quad.tailBWord1 = 8;
    Mag5PolygonSpec pentagon = polygonOver({0, 1, 2, 3, 0}, 0);  // skipped: no state of its own
    EXPECT_EQ(stateChangesOf({triangle, quad}), 1u);
    EXPECT_EQ(stateChangesOf({triangle, pentagon, triangle}), 1u);
}

TEST_F(Mag5Loader, ColoursScaleByTheDoubleNearestOneOver255) {
    Mag5ModelSpec model = threeVertices();
    Mag5PolygonSpec polygon = polygonOver({0, 1, 2});
    polygon.colour = {33, 128, 255, 0};
    model.polygons = {polygon};
    ASSERT_TRUE(loadedWhole(load(model)));
    const auto& colour = store.polygons[0].material.colour;
    EXPECT_EQ(colour[0], 0.12941176470588234);
    EXPECT_NE(colour[0], 33.0 / 255.0);
    EXPECT_EQ(colour[1], 0.5019607843137255);
    EXPECT_EQ(colour[2], 1.0);
    EXPECT_EQ(colour[3], 0.0);
}

TEST_F(Mag5Loader, TextureCoordinatesFlipV) {
    Mag5ModelSpec model = threeVertices();
    model.textures = {"wood"};
    Mag5PolygonSpec polygon = polygonOver({0, 1, 2}, 0);
    polygon.corners[0] = {0, 2.0f, 0.25f};
    polygon.corners[1] = {1, 0.1f, 1.5f};
    model.polygons = {polygon};
    ASSERT_TRUE(loadedWhole(load(model)));
    ASSERT_EQ(store.texcoords.size(), 3u);
    EXPECT_EQ(store.texcoords[0], (Vector3{2.0, 0.75, 0.0}));
    EXPECT_EQ(store.texcoords[1], (Vector3{double(0.1f), -0.5, 0.0}));
    EXPECT_EQ(store.polygons[0].material.texture, 1u);
}

TEST_F(Mag5Loader, FlatQuadGivesTheFaceNormalToEveryCorner) {
    Mag5ModelSpec model = threeVertices();
    model.polygons = {flatPolygonOver({0, 1, 2, 3}, -1, 0.25, -0.5, 0.125), polygonOver({3, 2, 1})};
    model.polygons[1].flags = 3;  // bit 0 set: flat
    model.polygons[1].faceNormal = {0, 1, 0};  // equal to vertex 1's normal
    const LoadResult result = load(model);
    ASSERT_TRUE(loadedWhole(result));
    EXPECT_EQ(result.report.flatShadedCount, 2u);
    ASSERT_EQ(store.normals.size(), 5u);
    EXPECT_EQ(store.normals[4], (Vector3{0.25, -0.5, 0.125}));
    EXPECT_EQ(store.polygons[0].normal, (std::array<uint32_t, 4>{4, 4, 4, 4}));
    EXPECT_EQ(store.polygons[1].normal, (std::array<uint32_t, 4>{1, 1, 1, 0}));
    EXPECT_EQ(store.polygons[0].material.texture, 0u);
    EXPECT_EQ(store.texcoords.size(), 0u);
}

TEST_F(Mag5Loader, VerticesAndSmoothNormalsWidenExactly) {
    Mag5ModelSpec model = threeVertices();
    model.vertices[1] = vertexAt(0.1f, -2.5f, 1e-3f, 0.6f, 0.8f, 0.0f);
    model.polygons = {polygonOver({2, 1, 0})};
    ASSERT_TRUE(loadedWhole(load(model)));
    EXPECT_EQ(store.positions[1], (Vector3{double(0.1f), -2.5, double(1e-3f)}));
    EXPECT_EQ(store.normals[1], (Vector3{double(0.6f), double(0.8f), 0.0}));
    EXPECT_EQ(store.polygons[0].normal, (std::array<uint32_t, 4>{2, 1, 0, 0}));
}

TEST_F(Mag5Loader, TextureNumbersMapToTheStoresEntries) {
    Mag5ModelSpec model = threeVertices();
    const std::string longName(32, 'x');
    model.textures = {"a", "", "a", longName};
    for (int32_t index : {0, 1, 2, 3, 4, -1, -7}) model.polygons.push_back(polygonOver({0, 1, 2}, index));
    ASSERT_TRUE(loadedWhole(load(model)));
    EXPECT_EQ(store.textures, (std::vector<std::string>{"", "a", longName}));
    std::vector<uint32_t> textures;
    for (size_t index = 0; index < store.polygons.size(); ++index) {
        textures.push_back(store.polygons[index].material.texture);
    }
    EXPECT_EQ(textures, (std::vector<uint32_t>{1, 0, 1, 2, kTextureMissing, 0, kTextureMissing}));
    // A texture the file lacks still keeps its coordinates; the empty name does not.
    EXPECT_EQ(store.texcoords.size(), 3u);
    EXPECT_EQ(store.polygons[4].texcoord, (std::array<uint32_t, 4>{0, 1, 2, 0}));
    EXPECT_EQ(store.polygons[1].texcoord, (std::array<uint32_t, 4>{0, 0, 0, 0}));
}

TEST_F(Mag5Loader, SecondFileIsOffsetByWhatTheStoreHeld) {
    Mag5ModelSpec first = threeVertices();
    first.textures = {"a", "b"};
    first.polygons = {flatPolygonOver({0, 1, 2}, 1, 0, 0.6, 0.8)};
    Mag5ModelSpec second;
    second.textures = {"b", "c"};
    second.vertices = {vertexAt(5, 5, 5, 0.6f, 0.8f, 0), vertexAt(6, 6, 6, 0.8f, 0.6f, 0),
                       vertexAt(7, 7, 7, 0, 0.8f, 0.6f)};
    second.polygons = {polygonOver({2, 1, 0}, 0), polygonOver({0, 1, 2}, 1)};
    ASSERT_TRUE(loadedWhole(load(first, "first.mag")));
    ASSERT_TRUE(loadedWhole(load(second, "second.mag")));
    EXPECT_EQ(store.textures, (std::vector<std::string>{"", "a", "b", "c"}));
    const Polygon& smooth = store.polygons[1];
    EXPECT_EQ(smooth.vertex, (std::array<uint32_t, 4>{6, 5, 4, 0}));
    EXPECT_EQ(smooth.material.texture, 2u);
    // The first file's four vertex normals and its face normal come first:
    // the second file's vertex 2 has its normal at 7, not at 6.
    EXPECT_EQ(smooth.normal, (std::array<uint32_t, 4>{7, 6, 5, 0}));
    EXPECT_EQ(store.normals[7], (Vector3{0, double(0.8f), double(0.6f)}));
    EXPECT_EQ(store.polygons[2].material.texture, 3u);
}

TEST_F(Mag5Loader, NotAMag5File) {
    EXPECT_EQ(loadBytes({'5', 'G', 'A', 'M', 0, 0, 0, 0, 0, 0, 0, 0}).error.words, "not a MAG5 file");
    EXPECT_EQ(loadBytes({'M', 'A', 'G'}).error.kind, LoadFailure::kNotMag5);
    EXPECT_EQ(loadBytes({}).error.kind, LoadFailure::kNotMag5);
    EXPECT_EQ(store.positions.size(), 0u);
}

TEST_F(Mag5Loader, MissingFileGivesTheSystemsReason) {
    const LoadError absent = loadMagFile(folder.file("absent.mag"), store).error;
    EXPECT_EQ(absent.kind, LoadFailure::kCannotOpen);
    EXPECT_EQ(absent.words, "No such file or directory");
    const LoadError folderError = loadMagFile(folder.path(), store).error;
    EXPECT_EQ(folderError.kind, LoadFailure::kCannotOpen);
    EXPECT_EQ(folderError.words, "Is a directory");
}

std::vector<uint8_t> truncated(const Mag5ModelSpec& model, size_t size) {
    std::vector<uint8_t> bytes = tools::encodeMag5(model);
    bytes.resize(size);
    return bytes;
}

TEST_F(Mag5Loader, FileEndingEarlySaysWhere) {
    Mag5ModelSpec model = threeVertices();
    model.textures = {"a", "b"};
    model.polygons = {polygonOver({0, 1, 2}), polygonOver({0, 1, 2, 3}), polygonOver({0, 1, 2, 3, 0})};
    const size_t polygons = 12 + 64 + 8 + 4 * 28;
    EXPECT_EQ(loadBytes(truncated(model, 10)).error.words, "file ends early (inside the header)");
    EXPECT_EQ(loadBytes(truncated(model, 12 + 40)).error.words, "file ends early (inside texture name 1)");
    EXPECT_EQ(loadBytes(truncated(model, 12 + 64 + 7)).error.words,
              "file ends early (inside the vertex and polygon counts)");
    EXPECT_EQ(loadBytes(truncated(model, 12 + 64 + 8 + 28 * 3)).error.words, "file ends early (inside vertex 3)");
    EXPECT_EQ(loadBytes(truncated(model, polygons + 120 + 67)).error.words, "file ends early (inside polygon 1)");
    EXPECT_EQ(loadBytes(truncated(model, polygons + 120 + 68 + 63)).error.words,
              "file ends early (inside the corners of polygon 1)");
    // A skipped polygon's corner block must be there too.
    EXPECT_EQ(loadBytes(truncated(model, polygons + 120 + 132 + 68 + 75)).error.words,
              "file ends early (inside the corners of polygon 2)");
    EXPECT_TRUE(loadedWhole(loadBytes(truncated(model, polygons + 120 + 132 + 68 + 76))));
}

TEST_F(Mag5Loader, CornerBeyondTheFilesVerticesIsRefused) {
    Mag5ModelSpec model = threeVertices();
    model.polygons = {polygonOver({0, 1, 2}), polygonOver({0, 1, 2, 4})};
    const LoadError error = load(model).error;
    EXPECT_EQ(error.kind, LoadFailure::kVertexOutOfRange);
    EXPECT_EQ(error.words, "polygon 1 refers to vertex 4, but the file has 4 vertices");
    // Skipped polygons are not looked into.
    model.polygons = {polygonOver({0, 1, 2, 3, 99})};
    EXPECT_TRUE(loadedWhole(load(model)));
}

// A model with enough distinct values that the loader reads records ahead
// to fetch their table slots: every kind of polygon, a skipped one, and a
// vertex's texture coordinate that comes back many polygons later.
Mag5ModelSpec largeModel() {
    constexpr uint32_t kVertices = 100000;
    Mag5ModelSpec model;
    model.textures = {"a"};
    for (uint32_t i = 0; i < kVertices; ++i) {
        model.vertices.push_back(vertexAt(float(i), 0, 0, float(i) / kVertices, 1, 0));
    }
    for (uint32_t i = 0; i + 4 < kVertices; ++i) {
        const std::vector<uint32_t> corners = i % 3 == 0 ? std::vector<uint32_t>{i, i + 1, i + 3, i + 4}
                                                         : std::vector<uint32_t>{i, i + 2, (i * 7919) % kVertices};
        Mag5PolygonSpec polygon = i % 5 == 0 ? flatPolygonOver(corners, 0, i, 2, 0) : polygonOver(corners, static_cast<int32_t>(i % 4) - 1);
        for (Mag5CornerSpec& corner : polygon.corners) corner = {corner.vertex, static_cast<float>(corner.vertex) * 0.5f, 0.25f};
        model.polygons.push_back(polygon);
    }
    model.polygons[77778].corners.push_back({0, 0, 0});  // five corners: skipped
    return model;
}

TEST_F(Mag5Loader, LargeModelKeepsEveryCornersValues) {
    const Mag5ModelSpec model = largeModel();
    ASSERT_TRUE(loadedWhole(load(model)));
    ASSERT_EQ(store.polygons.size(), model.polygons.size() - 1);
    for (size_t file = 0, index = 0; file < model.polygons.size(); ++file) {
        const Mag5PolygonSpec& expected = model.polygons[file];
        if (expected.corners.size() == 5) continue;
        const Polygon polygon = store.polygons[index++];
        ASSERT_EQ(polygon.cornerCount, expected.corners.size()) << file;
        for (size_t corner = 0; corner < polygon.cornerCount; ++corner) {
            const Mag5VertexSpec& vertex = model.vertices[expected.corners[corner].vertex];
            const Vector3 normal = expected.flags & 1 ? Vector3{expected.faceNormal[0], expected.faceNormal[1], 0}
                                                      : Vector3{vertex.normal[0], vertex.normal[1], 0};
            ASSERT_EQ(store.normals[polygon.normal[corner]], normal) << file;
            if (expected.textureIndex >= 0) {
                ASSERT_EQ(store.texcoords[polygon.texcoord[corner]],
                          (Vector3{expected.corners[corner].u, 0.75, 0})) << file;
            }
        }
    }
}

TEST_F(Mag5Loader, LargeModelEndingEarlyOrOutOfRangeSaysWhere) {
    Mag5ModelSpec model = largeModel();
    const std::vector<uint8_t> whole = tools::encodeMag5(model);
    const std::string last = std::to_string(model.polygons.size() - 1);
    for (size_t cut : {1, 60, 68 + 40}) {
        EXPECT_EQ(loadBytes(truncated(model, whole.size() - cut)).error.kind, LoadFailure::kCutShort) << cut;
    }
    EXPECT_EQ(loadBytes(truncated(model, whole.size() - 120 + 60)).error.words,
              "file ends early (inside polygon " + last + ")");
    model.polygons.back().corners[1].vertex = 100000;
    EXPECT_EQ(load(model).error.words, "polygon " + last + " refers to vertex 100000, but the file has 100000 vertices");
}

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A few dozen bytes declaring billions of records: refused at once, with no
// allocation sized by the counts.
TEST_F(Mag5Loader, HugeCountsInATinyFileFailFast) {
    auto withCounts = [](uint32_t textures, uint32_t vertices, uint32_t polygons, uint32_t corners) {
        std::vector<uint8_t> bytes{'M', 'A', 'G', '5'};
        auto put = [&](uint32_t word) {
            for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(word >> shift));
        };
        put(textures);
        put(0);
        put(vertices);
        put(polygons);
        bytes.resize(bytes.size() + 28, 0);  // one vertex record, enough when vertices is 1
        bytes.resize(bytes.size() + 64, 0);  // polygon record with its corner count at the end
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(corners >> shift));
        return bytes;
    };
    const long before = peakResidentKilobytes();
    EXPECT_EQ(loadBytes(withCounts(0xFFFFFFFF, 1, 1, 3)).error.kind, LoadFailure::kCutShort);
    EXPECT_EQ(loadBytes(withCounts(0, 0xFFFFFFFF, 1, 3)).error.kind, LoadFailure::kCutShort);
    EXPECT_EQ(loadBytes(withCounts(0, 1, 0xFFFFFFFF, 3)).error.kind, LoadFailure::kCutShort);
    EXPECT_EQ(loadBytes(withCounts(0, 1, 1, 0xFFFFFFFF)).error.words, "file ends early (inside the corners of polygon 0)");
    EXPECT_LT(peakResidentKilobytes() - before, 16 * 1024);
}

}  // namespace
}  // namespace zelvane
