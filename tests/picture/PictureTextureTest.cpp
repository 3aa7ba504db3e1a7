// Surfaces that show an image: the nearest pixel, repeated, with v counted
// from the image's top as in the glTF output.
#include <gtest/gtest.h>

#include <limits>

#include "PictureTestModels.h"
#include "picture/Picture.h"

namespace zelvane::test {
namespace {

constexpr uint32_t kSide = 128;
using Colour = std::array<uint8_t, 3>;
constexpr Colour kRed{255, 0, 0};
constexpr Colour kGreen{0, 255, 0};
constexpr Colour kBlue{0, 0, 255};
constexpr Colour kWhite{255, 255, 255};
// Those colours on a surface facing the eye (see PictureLight).
constexpr Pixel kLitRed{249, 0, 0, 255};
constexpr Pixel kLitGreen{0, 249, 0, 255};
constexpr Pixel kLitBlue{0, 0, 249, 255};
constexpr Pixel kLitWhite{249, 249, 249, 255};

// A rectangle facing the eye with texture coordinates from (low, low) at
// the bottom left to (high, high) at the top right, showing its image.
class TexturedRectangle {
public:
    explicit TexturedRectangle(double high = 1.0, double low = 0.0, const Material& material = colourMaterial(1, 1, 1, 1))
        : axes_(viewAxes()) {
        store_ = ModelBuilder()
                     .addPolygon({{-1.0 * axes_.right - axes_.up, axes_.back, low, low},
                                  {axes_.right - axes_.up, axes_.back, high, low},
                                  {axes_.right + axes_.up, axes_.back, high, high},
                                  {axes_.up - axes_.right, axes_.back, low, high}},
                                 material)
                     .finish();
    }

    Image draw(const Image* image) const { return pictureOf(*store_, kSide, {nullptr, image}); }

    // The pixel at the given shares of the width from the left and of the
    // height from the top.
    Pixel at(const Image& picture, double fromLeft, double fromTop) const {
        return pixelUnder(picture, (2 * fromLeft - 1) * axes_.right + (1 - 2 * fromTop) * axes_.up,
                          sphereAround({axes_.right + axes_.up, axes_.right - axes_.up, -1.0 * axes_.right - axes_.up,
                                        axes_.up - axes_.right}));
    }

private:
    ViewAxes axes_;
    std::unique_ptr<MeshStore> store_;
};

// Red and green on the top row, blue and white below.
Image fourColours() {
    return rgbImage(2, 2, [](uint32_t x, uint32_t y) { return std::array{kRed, kGreen, kBlue, kWhite}[y * 2 + x]; });
}

// From 0 to 2 and from -1 to 1 the image shows twice across and down.
TEST(PictureTexture, RepeatsTheNearestPixelWithVFromTheTop) {
    const Image image = fourColours();
    const std::array<Pixel, 4> expected{kLitRed, kLitGreen, kLitBlue, kLitWhite};
    for (const TexturedRectangle& shape : {TexturedRectangle(2.0), TexturedRectangle(1.0, -1.0)}) {
        const Image picture = shape.draw(&image);
        for (uint32_t cell = 0; cell < 16; ++cell) {
            const uint32_t row = cell / 4;
            const uint32_t column = cell % 4;
            EXPECT_EQ(shape.at(picture, (column + 0.5) / 4, (row + 0.5) / 4), expected[row % 2 * 2 + column % 2])
                << "cell " << column << ", " << row;
        }
    }
}

// Red, green and blue count, whatever the image keeps them in; the group
// colour multiplies them.
TEST(PictureTexture, ReadsPalettedRgbAndRgbaImagesAlike) {
    const Image rgb = fourColours();
    const Image paletted{2, 2, PixelFormat::kPaletted, {kBlue, kRed, kWhite, kGreen}, {1, 3, 0, 2}};
    Image rgba{2, 2, PixelFormat::kRgba, {}, {}};
    for (size_t at = 0; at < rgb.pixels.size(); ++at) {
        rgba.pixels.push_back(rgb.pixels[at]);
        if (at % 3 == 2) {
            rgba.pixels.push_back(static_cast<uint8_t>(at * 20));  // alpha, which does not count
        }
    }
    const TexturedRectangle shape(2.0);
    EXPECT_EQ(shape.draw(&paletted).pixels, shape.draw(&rgb).pixels);
    EXPECT_EQ(shape.draw(&rgba).pixels, shape.draw(&rgb).pixels);
    const Image one = rgbImage(1, 1, [](uint32_t, uint32_t) { return Colour{200, 100, 50}; });
    const TexturedRectangle tinted(1.0, 0.0, Material{1, {0.5, 1.0, 2.0, 1.0}});
    EXPECT_EQ(tinted.at(tinted.draw(&one), 0.5, 0.5), (Pixel{98, 98, 49, 255}));  // 0.976 x (100, 100, 50)
}

TEST(PictureTexture, TakesLongImagesAcrossAndDown) {
    const Image wide = rgbImage(16384, 1, [](uint32_t x, uint32_t) { return x < 8192 ? kRed : kBlue; });
    const Image tall = rgbImage(1, 16384, [](uint32_t, uint32_t y) { return y < 8192 ? kGreen : kBlue; });
    const TexturedRectangle shape;
    const Image across = shape.draw(&wide);
    const Image down = shape.draw(&tall);
    EXPECT_EQ(shape.at(across, 0.25, 0.5), kLitRed);
    EXPECT_EQ(shape.at(across, 0.75, 0.5), kLitBlue);
    EXPECT_EQ(shape.at(down, 0.5, 0.25), kLitGreen);
    EXPECT_EQ(shape.at(down, 0.5, 0.75), kLitBlue);
}

// Coordinates that are not finite count as 0, and huge ones repeat to 0:
// the image's top left pixel.
TEST(PictureTexture, TakesCoordinatesThatAreNotFiniteAsZero) {
    const Image image = fourColours();
    for (const double corner : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                                1e30, -1e300}) {
        const TexturedRectangle shape(corner, corner);
        EXPECT_EQ(shape.at(shape.draw(&image), 0.5, 0.5), kLitRed) << corner;
    }
}

// An image that is not as it claims leaves the group its colour, as does a
// texture without an image; a palette index beyond the palette is black.
TEST(PictureTexture, LeavesTheColourWithoutAUsableImage) {
    const TexturedRectangle shape;
    const Image plain = shape.draw(nullptr);
    EXPECT_EQ(shape.at(plain, 0.5, 0.5), kLitWhite);
    Image cut = fourColours();
    cut.pixels.pop_back();
    const Image empty{0, 0, PixelFormat::kRgb, {}, {}};
    const Image withoutPalette{2, 2, PixelFormat::kPaletted, {}, {0, 0, 0, 0}};
    for (const Image* image : std::vector<const Image*>{&cut, &empty, &withoutPalette}) {
        EXPECT_EQ(shape.draw(image).pixels, plain.pixels);
    }
    const Image image = fourColours();
    EXPECT_EQ(TexturedRectangle(1.0, 0.0, colourMaterial(1, 1, 1, kTextureMissing)).draw(&image).pixels, plain.pixels);
    const Image beyond{1, 1, PixelFormat::kPaletted, {kRed}, {7}};
    EXPECT_EQ(shape.at(shape.draw(&beyond), 0.5, 0.5), (Pixel{0, 0, 0, 255}));
}

// A rectangle lying back from the eye shows 16 stripes, red and blue by
// turns, from far to near: each stripe's middle shows that stripe.
// Interpolated on the screen alone, the nearer stripes would stretch over
// the middle ones.
TEST(PictureTexture, FollowsThePerspective) {
    const ViewAxes axes = viewAxes();
    const Vector3 along = 1.7 * axes.back - 0.8 * axes.up;  // towards the eye, tilted to be seen
    const Vector3 across = 0.6 * axes.right;
    const auto store = ModelBuilder()
                           .addPolygon({{along - across, axes.up, 0.0, 0.0},
                                        {along + across, axes.up, 1.0, 0.0},
                                        {across - along, axes.up, 1.0, 1.0},
                                        {-1.0 * across - along, axes.up, 0.0, 1.0}},
                                       colourMaterial(1, 1, 1, 1))
                           .finish();
    const Image stripes = rgbImage(1, 16, [](uint32_t, uint32_t y) { return y % 2 == 0 ? kRed : kBlue; });
    const Image picture = pictureOf(*store, 256, {nullptr, &stripes});
    const Sphere sphere = sphereAround({along - across, along + across, across - along, -1.0 * across - along});
    for (uint32_t stripe = 0; stripe < 16; ++stripe) {
        const Pixel pixel = pixelUnder(picture, (2 * (stripe + 0.5) / 16 - 1) * along, sphere);
        EXPECT_EQ(pixel[0] != 0 && pixel[2] == 0, stripe % 2 == 0) << "stripe " << stripe;
        EXPECT_EQ(pixel[2] != 0 && pixel[0] == 0, stripe % 2 == 1) << "stripe " << stripe;
    }
}

}  // namespace
}  // namespace zelvane::test
