// Pictures that do not depend on the threads drawing them, and models that
// push the arithmetic: huge, tiny, far away, without area, not finite.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

#include "PictureTestModels.h"
#include "loadedmodel/LoadedModel.h"
#include "image/ImageCodec.h"
#include "image/RgbaPngStream.h"
#include "picture/Picture.h"
#include "picture/StripPlan.h"

namespace zelvane::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Triangles and quads at random places within +-4, each reaching up to
// reach / 64 from its place, with colours, normals (some without a
// direction) and a texture on some. Coordinates are multiples of 1/64, so
// that powers of two and shifts keep them exact.
struct Scatter {
    uint32_t polygons = 200;
    uint32_t seed = 1;
    int reach = 256;
    double scale = 1.0;
    Vector3 shift{};
};

void scatterPolygons(ModelBuilder& builder, const Scatter& scatter) {
    std::mt19937 random(scatter.seed);
    std::uniform_int_distribution<int> place(-256 + scatter.reach, 256 - scatter.reach);
    std::uniform_int_distribution<int> offset(-scatter.reach, scatter.reach);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (uint32_t k = 0; k < scatter.polygons; ++k) {
        const Vector3 middle{1.0 * place(random), 1.0 * place(random), 1.0 * place(random)};
        std::vector<Corner> corners(k % 3 == 0 ? 4 : 3);
        for (Corner& corner : corners) {
            const Vector3 at = middle + Vector3{1.0 * offset(random), 1.0 * offset(random), 1.0 * offset(random)};
            corner = {scatter.scale / 64 * at + scatter.shift,
                      random() % 8 == 0 ? Vector3{} : Vector3{unit(random), unit(random), unit(random)},
                      2 * unit(random), 2 * unit(random)};
        }
        builder.addPolygon(corners, colourMaterial((k % 5) / 4.0, (k % 3) / 2.0, 0.5, k % 4 == 0 ? 1 : 0));
    }
}

std::unique_ptr<MeshStore> scatteredModel(const Scatter& scatter) {
    ModelBuilder builder;
    scatterPolygons(builder, scatter);
    return builder.finish();
}

const Image kChecker = rgbImage(8, 8, [](uint32_t x, uint32_t y) {
    return std::array<uint8_t, 3>{static_cast<uint8_t>(x * 32), static_cast<uint8_t>(y * 32),
                                  static_cast<uint8_t>((x + y) % 2 * 255)};
});

// The same square many times over in one plane, in two colours that take
// turns: the colour drawn first must show wherever the squares tie.
std::unique_ptr<MeshStore> stackedSquares(uint32_t count) {
    ModelBuilder builder;
    for (uint32_t k = 0; k < count; ++k) {
        builder.addPolygon({Corner{{-1, -1, 0}}, Corner{{1, -1, 0}}, Corner{{1, 1, 0}}, Corner{{-1, 1, 0}}},
                           colourMaterial(k % 2, 0.5, 1 - k % 2));
    }
    return builder.finish();
}

// Few polygons are drawn in strips of rows; many, in shares of the polygons
// over the whole picture, merged afterwards (the last two models).
TEST(PictureThreads, DrawTheSameBytesAsOne) {
    const auto house = tools::loadModel(ZELVANE_EXAMPLES "/house.mag", ZELVANE_EXAMPLES);
    ASSERT_EQ(house->images.size(), 4u);
    const auto few = scatteredModel({.polygons = 300});
    const auto many = scatteredModel({.polygons = 50000, .seed = 2, .reach = 4});
    const auto stacked = stackedSquares(4000);
    ASSERT_TRUE(picture::StripPlan(200, 50000, 2).sharesPolygons() && picture::StripPlan(48, 4000, 8).sharesPolygons());
    for (const auto& [store, images, side] : {std::tuple{few.get(), std::vector<const Image*>{nullptr, &kChecker}, 97u},
                                              std::tuple{many.get(), std::vector<const Image*>{nullptr, &kChecker}, 256u},
                                              std::tuple{&house->store, house->imageOfTexture, 160u},
                                              std::tuple{many.get(), std::vector<const Image*>{nullptr, &kChecker}, 200u},
                                              std::tuple{stacked.get(), std::vector<const Image*>{}, 48u}}) {
        const Image alone = pictureOf(*store, side, images, 1);
        EXPECT_GT(coveredSamples(alone), 0u);
        for (const unsigned threads : {0u, 2u, 3u, 8u}) {
            EXPECT_EQ(pictureOf(*store, side, images, threads).pixels, alone.pixels) << threads << " threads";
        }
        image::RgbaPngStream png(side, side);
        drawPicture(*store, images, side, 2, [&](std::span<const uint8_t> rows) { png.addRows(rows); });
        EXPECT_TRUE(png.finish() == encodePng(alone, PngEffort::kQuick)) << "the PNG written as the rows are drawn";
    }
}

// Scaled by powers of two, shifted by sums its coordinates hold exactly, or
// beside positions no polygon uses (however far or broken), a model keeps
// every byte of its picture; other scales round a little differently.
TEST(PictureArithmetic, IsTheSameForAnyScaleOrPlace) {
    const std::vector<const Image*> images{nullptr, &kChecker};
    const Image base = pictureOf(*scatteredModel({.seed = 3}), 128, images);
    for (const double scale : {0x1p600, 0x1p-600, 0x1p-1000, 0x1p1010}) {
        EXPECT_EQ(pictureOf(*scatteredModel({.seed = 3, .scale = scale}), 128, images).pixels, base.pixels) << scale;
    }
    EXPECT_EQ(pictureOf(*scatteredModel({.seed = 3, .shift = {0x1p40, -0x1p40, 0x1p33}}), 128, images).pixels,
              base.pixels);
    ModelBuilder builder;
    builder.addUnusedPosition({1e300, -1e300, 0}).addUnusedPosition({kNaN, 0, 0});
    scatterPolygons(builder, {.seed = 3});
    builder.addUnusedPosition({0, -kInfinity, 5}).addUnusedPosition({-1e-300, 0, 0});
    EXPECT_EQ(pictureOf(*builder.finish(), 128, images).pixels, base.pixels);
    for (const double scale : {1e30, 1e-30, 1e300, 3e-300}) {
        const Image scaled = pictureOf(*scatteredModel({.seed = 3, .scale = scale}), 128, images);
        size_t differing = 0;
        for (size_t at = 0; at < base.pixels.size(); at += 4) {
            differing += std::equal(&base.pixels[at], &base.pixels[at + 4], &scaled.pixels[at]) ? 0 : 1;
        }
        EXPECT_LT(differing, 128u * 128 / 100) << scale;
    }
}

// A triangle reaching to the largest finite coordinates shows as the same
// triangle within +-1, but for rounding.
TEST(PictureArithmetic, DrawsTheLargestFiniteCoordinates) {
    const auto triangleTimes = [](double scale) {
        return pictureOf(*ModelBuilder()
                              .addPolygon({{{-scale, -scale, 0}}, {{scale, -scale, 0}}, {{0, scale, scale}}},
                                          colourMaterial(1, 1, 1))
                              .finish(),
                         64);
    };
    const Image unit = triangleTimes(1.0);
    const Image largest = triangleTimes(DBL_MAX);
    EXPECT_GT(coveredSamples(unit), 1000u);
    EXPECT_NEAR(static_cast<double>(coveredSamples(largest)), static_cast<double>(coveredSamples(unit)), 15.0);
    EXPECT_EQ(pixelAt(largest, 32, 40), pixelAt(unit, 32, 40));
}

// A corner that is not finite takes its triangles out of the picture and its
// position out of the box: the quad's other triangle is drawn as if alone.
// Polygons without area draw nothing.
TEST(PictureArithmetic, LeavesOutTrianglesWithoutAreaOrWithCornersNotFinite) {
    const Material white = colourMaterial(1, 1, 1);
    const std::vector<Corner> triangle{{{0, 0, 0}}, {{2, 2, 0}}, {{0, 2, 1}}};
    const Image alone = pictureOf(*ModelBuilder().addPolygon(triangle, white).finish(), 64);
    for (const double bad : {kNaN, kInfinity, -kInfinity}) {
        const Corner broken{{bad, 1, 0}};
        const auto store = ModelBuilder().addPolygon({triangle[0], broken, triangle[1], triangle[2]}, white).finish();
        EXPECT_EQ(pictureOf(*store, 64).pixels, alone.pixels) << bad;
    }
    const Vector3 place{1e20, -3, 7};
    for (const std::vector<Corner>& nothing : {std::vector<Corner>{{{kNaN, 0, 0}}, {{0, kNaN, 0}}, {{0, 0, kNaN}}},
                                               std::vector<Corner>{{place}, {place}, {place}, {place}},
                                               std::vector<Corner>{{{0, 0, 0}}, {{1, 1, 1}}, {{3, 3, 3}}}}) {
        EXPECT_EQ(pictureOf(*ModelBuilder().addPolygon(nothing, white).finish(), 32).pixels,
                  std::vector<uint8_t>(32 * 32 * 4, 0));
    }
}

}  // namespace
}  // namespace zelvane::test
