// make_fuzz_corpus FOLDER
//
// Writes the seed corpus of the fuzz target into FOLDER: small MAG5 models
// with every kind of polygon (triangles, quads, and the 0-, 1-, 2- and
// 5-corner ones a reader steps over), several textures, flat and smooth
// shading, odd texture names and numbers, special float values, and damaged
// copies: cut short, with bytes after the end, with counts of some four
// billion, and not MAG5 at all. The fuzzer starts from these and mutates.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "mag5writer/Mag5Writer.h"

namespace {

using zelvane::tools::Mag5CornerSpec;
using zelvane::tools::Mag5ModelSpec;
using zelvane::tools::Mag5PolygonSpec;
using zelvane::tools::Mag5VertexSpec;
using Bytes = std::vector<uint8_t>;

constexpr size_t kTextureCountOffset = 4;
constexpr size_t kHeaderSize = 12;
constexpr size_t kTextureRecordSize = 32;
constexpr size_t kCornerCountOffset = 64;
constexpr uint32_t kHugeCount = 0xFFFFFFFF;

Mag5PolygonSpec polygonOver(const std::vector<uint32_t>& vertices, int32_t textureIndex, bool flat) {
    Mag5PolygonSpec polygon;
    polygon.flags = flat ? 1u : 0u;
    polygon.faceNormal = {0.0, 0.0, 1.0};
    polygon.textureIndex = textureIndex;
    for (size_t k = 0; k < vertices.size(); ++k) {
        polygon.corners.push_back({vertices[k], static_cast<float>(k) * 0.25f, static_cast<float>(k) * 0.5f});
    }
    return polygon;
}

Mag5ModelSpec oneTriangle() {
    Mag5ModelSpec model;
    model.vertices = {{{0, 0, 0}, {0, 0, 1}}, {{1, 0, 0}, {0, 0, 1}}, {{0, 1, 0}, {0, 0, 1}}};
    model.polygons = {polygonOver({0, 1, 2}, -1, false)};
    return model;
}

Mag5ModelSpec oneTexturedFlatQuad() {
    Mag5ModelSpec model;
    model.textures = {"tile.pcx"};
    model.vertices = {{{0, 0, 0}, {0, 1, 0}}, {{1, 0, 0}, {0, 1, 0}}, {{1, 1, 0}, {0, 1, 0}}, {{0, 1, 0}, {0, 1, 0}}};
    model.polygons = {polygonOver({0, 1, 2, 3}, 0, true)};
    return model;
}

// Every polygon kind, textured and not, flat and smooth, and texture numbers
// inside, outside and at -1 of a table of three.
Mag5ModelSpec everyPolygonKind() {
    Mag5ModelSpec model;
    model.textures = {"brick.pcx", "roof.pcx", "brick.pcx"};
    for (int i = 0; i < 6; ++i) {
        const auto x = static_cast<float>(i % 3);
        const auto y = static_cast<float>(i / 3);
        model.vertices.push_back({{x, y, 0}, {0, 0, i % 2 == 0 ? 1.0f : -1.0f}});
    }
    model.polygons = {polygonOver({0, 1, 4}, 0, false),       polygonOver({0, 1, 4, 3}, 1, true),
                      polygonOver({}, -1, false),             polygonOver({1, 2, 5, 4, 3}, 0, true),
                      polygonOver({2}, 1, false),             polygonOver({2, 5}, -1, true),
                      polygonOver({1, 2, 5}, 7, true),        polygonOver({3, 4, 5}, 2, false),
                      polygonOver({0, 1, 2, 5}, -1, false)};
    model.polygons[1].colour = {255, 0, 0, 255};
    model.polygons[7].colour = {0, 128, 255, 0};
    model.polygons[8].flags = 0xFFFFFFFE;  // every bit but the flat one
    model.polygons[8].tailAWord1 = 7;
    model.polygons[8].tailBWord1 = 9;
    return model;
}

// Names of 32 bytes without NUL, empty, repeated, and with XML markup.
Mag5ModelSpec oddTextureNames() {
    Mag5ModelSpec model = oneTriangle();
    model.textures = {std::string(32, 'x'), "", "a&b<c>\"d'.pcx", std::string(32, 'x'), "ok.pcx"};
    for (int32_t texture = 0; texture < 5; ++texture) {
        model.polygons.push_back(polygonOver({0, 1, 2}, texture, texture % 2 == 0));
    }
    return model;
}

// A grid of quads sharing vertices, in two textures and two colours, so
// that merging and grouping have work.
Mag5ModelSpec grid() {
    constexpr uint32_t kSide = 6;
    Mag5ModelSpec model;
    model.textures = {"grass.pcx", "sand.pcx"};
    for (uint32_t y = 0; y <= kSide; ++y) {
        for (uint32_t x = 0; x <= kSide; ++x) {
            model.vertices.push_back({{static_cast<float>(x), 0, static_cast<float>(y)}, {0, 1, 0}});
        }
    }
    for (uint32_t y = 0; y < kSide; ++y) {
        for (uint32_t x = 0; x < kSide; ++x) {
            const uint32_t corner = y * (kSide + 1) + x;
            Mag5PolygonSpec quad =
                polygonOver({corner, corner + 1, corner + kSide + 2, corner + kSide + 1}, (x + y) % 2 == 0 ? 0 : -1,
                            x % 3 == 0);
            quad.colour = {static_cast<uint8_t>(40 * (x % 2)), 200, 0, 255};
            model.polygons.push_back(quad);
        }
    }
    return model;
}

// NaN, infinities and negative zero wherever numbers go.
Mag5ModelSpec specialNumbers() {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    Mag5ModelSpec model;
    model.textures = {"odd.pcx"};
    model.vertices = {{{nan, 0, -0.0f}, {nan, nan, nan}},
                      {{infinity, -infinity, 0}, {-0.0f, 0, 0}},
                      {{nan, 0, -0.0f}, {nan, nan, nan}},
                      {{1e38f, -1e-45f, 0}, {0, 0, 1}}};
    Mag5PolygonSpec flat = polygonOver({0, 1, 2, 3}, 0, true);
    flat.faceNormal = {std::nan(""), -0.0, std::numeric_limits<double>::infinity()};
    flat.corners[0].u = nan;
    flat.corners[1].v = infinity;
    Mag5PolygonSpec smooth = polygonOver({2, 1, 0}, 0, false);
    smooth.corners[2].u = -0.0f;
    model.polygons = {flat, smooth, polygonOver({0, 2, 3}, -1, false)};
    return model;
}

Mag5ModelSpec noPolygons() {
    Mag5ModelSpec model;
    model.textures = {"unused.pcx"};
    model.vertices = {{{1, 2, 3}, {0, 0, 1}}};
    model.reservedFill = 0;
    return model;
}

Mag5ModelSpec vertexOutOfRange() {
    Mag5ModelSpec model = oneTriangle();
    model.polygons.push_back(polygonOver({0, 1, 3}, -1, false));
    return model;
}

void putWord(Bytes& bytes, size_t offset, uint32_t value) {
    for (size_t index = 0; index < 4; ++index) {
        bytes.at(offset + index) = static_cast<uint8_t>(value >> (8 * index));
    }
}

Bytes withWord(Bytes bytes, size_t offset, uint32_t value) {
    putWord(bytes, offset, value);
    return bytes;
}

Bytes cutTo(const Bytes& bytes, size_t size) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(size, bytes.size())));
}

class CorpusWriter {
public:
    explicit CorpusWriter(std::filesystem::path folder) : folder_(std::move(folder)) {}

    void add(const std::string& name, const Bytes& bytes) {
        std::ofstream out(folder_ / (name + ".mag"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        ok_ = ok_ && static_cast<bool>(out.flush());
        ++count_;
    }
    void add(const std::string& name, const Mag5ModelSpec& model) { add(name, zelvane::tools::encodeMag5(model)); }

    bool ok() const { return ok_; }
    int count() const { return count_; }

private:
    std::filesystem::path folder_;
    bool ok_ = true;
    int count_ = 0;
};

void addWholeModels(CorpusWriter& corpus) {
    corpus.add("triangle", oneTriangle());
    corpus.add("textured-flat-quad", oneTexturedFlatQuad());
    corpus.add("every-polygon-kind", everyPolygonKind());
    corpus.add("odd-texture-names", oddTextureNames());
    corpus.add("grid", grid());
    corpus.add("special-numbers", specialNumbers());
    corpus.add("vertex-out-of-range", vertexOutOfRange());
    corpus.add("no-polygons", noPolygons());
}

// The mixed model cut inside each of its parts, and with bytes after its end.
void addCutAndOversized(CorpusWriter& corpus) {
    const Bytes mixed = zelvane::tools::encodeMag5(everyPolygonKind());
    const size_t counts = kHeaderSize + 3 * kTextureRecordSize;
    for (size_t size : {size_t{0}, size_t{3}, size_t{4}, size_t{11}, size_t{40}, counts + 5, counts + 8 + 30,
                        mixed.size() / 2, mixed.size() - 1}) {
        corpus.add("cut-" + std::to_string(size), cutTo(mixed, size));
    }
    Bytes oversized = mixed;
    oversized.insert(oversized.end(), 64, 0x5A);
    corpus.add("bytes-after-the-end", oversized);
    corpus.add("reversed-magic", withWord(mixed, 0, 0x4D414735));
}

// Counts of some four billion in small files.
void addHugeCounts(CorpusWriter& corpus) {
    const Bytes triangle = zelvane::tools::encodeMag5(oneTriangle());
    const Bytes mixed = zelvane::tools::encodeMag5(everyPolygonKind());
    const size_t firstPolygon = kHeaderSize + 8 + 3 * 28;  // oneTriangle: no textures, three vertices
    corpus.add("huge-texture-count", withWord(triangle, kTextureCountOffset, kHugeCount));
    corpus.add("huge-vertex-count", withWord(triangle, kHeaderSize, kHugeCount));
    corpus.add("huge-polygon-count", withWord(triangle, kHeaderSize + 4, kHugeCount));
    corpus.add("huge-corner-count", withWord(triangle, firstPolygon + kCornerCountOffset, kHugeCount));
    corpus.add("corner-block-past-32-bits", withWord(triangle, firstPolygon + kCornerCountOffset, 0x15555555));
    const size_t mixedPolygons = kHeaderSize + 3 * kTextureRecordSize + 8 + 6 * 28;
    corpus.add("huge-polygon-count-mixed", withWord(mixed, kHeaderSize + 3 * kTextureRecordSize + 4, kHugeCount));
    corpus.add("texture-number-huge", withWord(mixed, mixedPolygons + 60, 0x7FFFFFFF));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_corpus FOLDER\n");
        return 1;
    }
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    CorpusWriter corpus(argv[1]);
    addWholeModels(corpus);
    addCutAndOversized(corpus);
    addHugeCounts(corpus);
    if (!corpus.ok()) {
        std::fprintf(stderr, "make_fuzz_corpus: cannot write into %s\n", argv[1]);
        return 1;
    }
    std::printf("%d seed models in %s\n", corpus.count(), argv[1]);
    return 0;
}
