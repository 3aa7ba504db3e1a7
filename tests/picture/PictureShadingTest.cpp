// How a surface is lit and coloured, and its antialiased edges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "PictureTestModels.h"
#include "picture/Picture.h"

namespace zelvane::test {
namespace {

constexpr uint32_t kSide = 64;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A rectangle filling the middle of the picture, square to the line of
// sight, its corners' normals given from the left.
Image facingRectangle(const std::vector<Vector3>& normals, const Material& material, bool turned = false) {
    const ViewAxes axes = viewAxes();
    const Vector3 right = turned ? -1.0 * axes.right : axes.right;
    return pictureOf(*ModelBuilder()
                          .addPolygon({{-1.0 * right - axes.up, normals[0]},
                                       {right - axes.up, normals[normals.size() - 1]},
                                       {right + axes.up, normals[normals.size() - 1]},
                                       {axes.up - right, normals[0]}},
                                      material)
                          .finish(),
                     kSide);
}

Pixel middleOf(const Image& picture) {
    return pixelAt(picture, kSide / 2, kSide / 2);
}

// Facing the eye, a surface takes 30 % ambient light and 70 % diffuse light
// from 15 degrees above the eye: 0.3 + 0.7 cos 15 = 0.976 of its colour, all
// of it when it faces the light. Facing the eye but at right angles to the
// light, or turned from it, it keeps the ambient share: no face is black.
TEST(PictureLight, FallsFromAboveTheEyeOverAnAmbientShare) {
    const ViewAxes axes = viewAxes();
    const double sin15 = std::sin(std::acos(-1.0) / 12);
    const double cos15 = std::cos(std::acos(-1.0) / 12);
    const Material white = colourMaterial(1, 1, 1);
    EXPECT_EQ(middleOf(facingRectangle({axes.back}, white)), (Pixel{249, 249, 249, 255}));
    EXPECT_EQ(middleOf(facingRectangle({axes.back}, colourMaterial(1, 0.5, 0.25))), (Pixel{249, 124, 62, 255}));
    EXPECT_EQ(middleOf(facingRectangle({cos15 * axes.back + sin15 * axes.up}, white)), (Pixel{255, 255, 255, 255}));
    for (const Vector3& normal : {sin15 * axes.back - cos15 * axes.up, 0.1 * axes.back - axes.up}) {
        const Pixel pixel = middleOf(facingRectangle({normal}, white));
        EXPECT_NEAR(pixel[0], 77, 1);  // 0.3 x 255
        EXPECT_EQ(pixel[3], 255);
    }
}

// Corner normals tilted left on the left and right on the right meet, made
// unit length, as the line of sight in the middle; they light the two sides
// alike but darker. Both sides of a polygon are drawn, the normal turned
// towards the eye: turning the normals or the winding changes nothing.
TEST(PictureLight, InterpolatesNormalsTurnedTowardsTheEye) {
    const ViewAxes axes = viewAxes();
    const std::vector<Vector3> spread{axes.back - axes.right, axes.back + axes.right};
    const Material white = colourMaterial(1, 1, 1);
    const Image picture = facingRectangle(spread, white);
    EXPECT_EQ(middleOf(picture), (Pixel{249, 249, 249, 255}));
    const Pixel left = pixelAt(picture, kSide / 2 - 13, kSide / 2);  // mirrors pixel kSide / 2 + 12
    EXPECT_LT(left[0], 249);
    EXPECT_EQ(left, pixelAt(picture, kSide / 2 + 12, kSide / 2));
    EXPECT_EQ(facingRectangle({-1.0 * spread[0], -1.0 * spread[1]}, white).pixels, picture.pixels);
    const std::vector<Vector3> tilted{axes.back + 0.4 * axes.right};
    const Image flat = facingRectangle(tilted, white);
    EXPECT_EQ(facingRectangle({-1.0 * tilted[0]}, white).pixels, flat.pixels);
    EXPECT_EQ(facingRectangle(tilted, white, true).pixels, flat.pixels);
}

// A corner normal without a direction takes the polygon's own, as the glTF
// output writes it: the picture is the one with that normal given.
TEST(PictureLight, GivesNormalsWithoutDirectionThePolygonsOwn) {
    const ViewAxes axes = viewAxes();
    const Vector3 turned = axes.right + 0.5 * axes.back;  // the rectangle turned about up
    const Vector3 facing = axes.back - 0.5 * axes.right;
    const Material white = colourMaterial(1, 1, 1);
    const Image given = pictureOf(*ModelBuilder().addRectangle({}, turned, axes.up, facing, white).finish(), kSide);
    for (const Vector3& none : {Vector3{}, Vector3{kNaN, 0, 1}, Vector3{std::numeric_limits<double>::infinity(), 0, 0}}) {
        const Image fallen = pictureOf(*ModelBuilder().addRectangle({}, turned, axes.up, none, white).finish(), kSide);
        for (size_t at = 0; at < given.pixels.size(); ++at) {
            ASSERT_NEAR(fallen.pixels[at], given.pixels[at], 1) << "byte " << at;
        }
    }
}

TEST(PictureColour, ClampsChannelsAndTakesNaNAsZero) {
    const ViewAxes axes = viewAxes();
    EXPECT_EQ(middleOf(facingRectangle({axes.back}, Material{kTextureNone, {2.0, -1.0, kNaN, kNaN}})),
              (Pixel{249, 0, 0, 255}));
}

// A pixel's alpha is the share of its 2 x 2 samples covered, its colour
// theirs alone: the edge of a flat triangle keeps the triangle's colour.
TEST(PictureEdges, TakeAlphaFromTheSamplesCovered) {
    const auto store =
        ModelBuilder()
            .addPolygon({{{0, 0, 0}}, {{3, 0.4, 0.2}}, {{0.7, 2.9, -0.3}}}, colourMaterial(0.2, 0.4, 0.6))
            .finish();
    const Image picture = pictureOf(*store, 97);
    std::set<uint8_t> alphas;
    std::set<std::array<uint8_t, 3>> colours;
    for (size_t at = 0; at < picture.pixels.size(); at += 4) {
        alphas.insert(picture.pixels[at + 3]);
        colours.insert({picture.pixels[at], picture.pixels[at + 1], picture.pixels[at + 2]});
    }
    EXPECT_EQ(alphas, (std::set<uint8_t>{0, 64, 128, 191, 255}));
    EXPECT_EQ(colours.size(), 2u);  // the triangle's, and the background's black
}

}  // namespace
}  // namespace zelvane::test
