// Where a model lands in its picture: the fixed view, the silhouette's
// samples, which faces show, and what is nearest.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "PictureTestModels.h"
#include "picture/Picture.h"

namespace zelvane::test {
namespace {

// The sample centres i + 0.5 within distance half of count / 2, for an edge
// clear of every centre.
uint64_t samplesWithin(double half, uint32_t count) {
    uint64_t inside = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const double distance = std::abs(i + 0.5 - count / 2.0);
        EXPECT_GT(std::abs(distance - half), 0.01) << "an edge too near sample " << i << " to call";
        inside += distance < half ? 1 : 0;
    }
    return inside;
}

struct RectangleCase {
    double halfWidth;
    double halfHeight;
    uint32_t side;
};

class FacingRectangle : public testing::TestWithParam<RectangleCase> {};

// A rectangle through the centre, square to the line of sight, lies
// 1 / sin 15 radii from the eye, where the 30-degree field spans
// 2 tan 15 / sin 15 radii: its samples form a rectangle about the picture's
// middle, cos 15 / r of its own size in half pictures.
TEST_P(FacingRectangle, CoversTheSamplesOfItsProjection) {
    const auto [halfWidth, halfHeight, side] = GetParam();
    const ViewAxes axes = viewAxes();
    const Vector3 right = halfWidth * axes.right;
    const Vector3 up = halfHeight * axes.up;
    const Image picture =
        pictureOf(*ModelBuilder().addRectangle({}, right, up, axes.back, colourMaterial(1, 1, 1)).finish(), side);
    const Sphere sphere = sphereAround({right + up, right - up, up - right, -1.0 * right - up});
    const double scale = std::cos(std::acos(-1.0) / 12) / sphere.radius * side;  // samples per unit, halved
    EXPECT_EQ(coveredSamples(picture),
              samplesWithin(halfWidth * scale, 2 * side) * samplesWithin(halfHeight * scale, 2 * side));
    EXPECT_EQ(pixelAt(picture, side / 2, side / 2), (Pixel{249, 249, 249, 255}));
}

INSTANTIATE_TEST_SUITE_P(Sizes, FacingRectangle,
                         testing::Values(RectangleCase{1.0, 1.0, 64}, RectangleCase{2.0, 0.5, 100},
                                         RectangleCase{0.3, 1.7, 257}, RectangleCase{5.0, 4.0, 512}),
                         [](const auto& param) { return "Side" + std::to_string(param.param.side); });

// A cube in six colours: from the front right, above, +Z shows on the
// left, +X on the right and +Y on top; the other faces lie behind them.
TEST(PictureView, ShowsACubeFromTheFrontRightAbove) {
    ModelBuilder builder;
    const std::array<Vector3, 3> axis{Vector3{1, 0, 0}, Vector3{0, 1, 0}, Vector3{0, 0, 1}};
    for (size_t k = 0; k < 3; ++k) {
        const Vector3& along = axis[k];
        const Vector3& right = axis[(k + 1) % 3];
        const Vector3& up = axis[(k + 2) % 3];
        builder.addRectangle(along, right, up, along, colourMaterial(k == 0, k == 1, k == 2));  // red, green, blue
        builder.addRectangle(-1.0 * along, right, up, -1.0 * along, colourMaterial(k != 0, k != 1, k != 2));
    }
    const Image picture = pictureOf(*builder.finish(), 200);
    const Sphere sphere{{}, std::sqrt(3.0)};
    const auto channelsUnder = [&](const Vector3& point) {
        const Pixel pixel = pixelUnder(picture, point, sphere);
        return std::array<bool, 4>{pixel[0] != 0, pixel[1] != 0, pixel[2] != 0, pixel[3] == 255};
    };
    const std::array<bool, 4> red{true, false, false, true};
    const std::array<bool, 4> green{false, true, false, true};
    const std::array<bool, 4> blue{false, false, true, true};
    EXPECT_EQ(channelsUnder({0.99, 0.3, 0.0}), red);
    EXPECT_EQ(channelsUnder({0.0, 0.99, 0.0}), green);
    EXPECT_EQ(channelsUnder({0.3, 0.0, 0.99}), blue);
    EXPECT_EQ(channelsUnder({-0.99, 0.0, 0.0}), blue);   // behind +Z
    EXPECT_EQ(channelsUnder({0.0, -0.99, 0.0}), blue);
    EXPECT_EQ(channelsUnder({0.0, 0.0, -0.99}), red);    // behind +X
    EXPECT_EQ(pixelAt(picture, 2, 2)[3], 0);
}

// Of two rectangles square to the line of sight, half a unit before and
// behind the centre, the nearer shows where they overlap whichever group is
// drawn first (a smaller colour comes first); the larger far one shows
// around it.
TEST(PictureView, ShowsTheNearerSurfaceWhateverTheOrder) {
    const ViewAxes axes = viewAxes();
    const Vector3 nearMiddle = 0.5 * axes.back;
    const Vector3 farMiddle = -0.5 * axes.back;
    const Sphere sphere = sphereAround({nearMiddle + axes.right + axes.up, nearMiddle - axes.right - axes.up,
                                       farMiddle + 2.0 * (axes.right + axes.up), farMiddle - 2.0 * (axes.right + axes.up),
                                       farMiddle + 2.0 * (axes.right - axes.up), farMiddle - 2.0 * (axes.right - axes.up)});
    for (const bool redNear : {true, false}) {
        const Material red = colourMaterial(1, 0, 0);
        const Material blue = colourMaterial(0, 0, 1);
        const auto store = ModelBuilder()
                               .addRectangle(nearMiddle, axes.right, axes.up, axes.back, redNear ? red : blue)
                               .addRectangle(farMiddle, 2.0 * axes.right, 2.0 * axes.up, axes.back, redNear ? blue : red)
                               .finish();
        const Image picture = pictureOf(*store, 128);
        EXPECT_EQ(pixelUnder(picture, nearMiddle, sphere)[0] != 0, redNear) << redNear;
        EXPECT_EQ(pixelUnder(picture, farMiddle + 1.5 * axes.right, sphere)[0] != 0, !redNear) << redNear;
    }
}

TEST(PictureView, DrawsTheSideAskedFor) {
    const ViewAxes axes = viewAxes();
    const auto store = ModelBuilder().addRectangle({}, axes.right, axes.up, axes.back, colourMaterial(1, 1, 1)).finish();
    for (const uint32_t side : {1u, 2u, 17u}) {
        const Image picture = pictureOf(*store, side);
        EXPECT_EQ(picture.width, side);
        EXPECT_EQ(picture.height, side);
        EXPECT_EQ(picture.format, PixelFormat::kRgba);
        EXPECT_EQ(picture.pixels.size(), size_t{side} * side * 4);
        EXPECT_GT(coveredSamples(picture), 0u) << side;
    }
    EXPECT_TRUE(pictureOf(*store, 0).pixels.empty());
    EXPECT_THROW(pictureOf(*store, kLargestPictureSide + 1), std::invalid_argument);
    const auto empty = ModelBuilder().addUnusedPosition({1, 2, 3}).finish();
    EXPECT_EQ(pictureOf(*empty, 32).pixels, std::vector<uint8_t>(32 * 32 * 4, 0));
}

}  // namespace
}  // namespace zelvane::test
