// make_sample_textures FOLDER
//
// Writes the sample house's textures into FOLDER, drawn from code so that
// they can be rewritten at any time: brick.pcx (bricks in mortar, 8-bit
// paletted), planks.pcx (wooden planks, 24-bit), roof_tiles.pcx (rows of
// rounded clay tiles, 8-bit paletted) and window.pcx (a four-pane window in
// its frame, 24-bit). Planks and window have odd widths, so their scanlines
// carry a padding byte.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "imagewriter/FileSave.h"
#include "imagewriter/PcxWriter.h"

namespace {

using zelvane::Image;
using zelvane::PixelFormat;
using Colour = std::array<uint8_t, 3>;

// A repeatable value in [0, 1) for a lattice point.
double latticeNoise(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t hash = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    hash ^= hash >> 13;
    hash *= 0x5BD1E995u;
    hash ^= hash >> 15;
    return static_cast<double>(hash & 0xFFFFFF) / static_cast<double>(0x1000000);
}

Colour mix(Colour from, Colour to, double amount) {
    Colour result{};
    for (size_t channel = 0; channel < 3; ++channel) {
        const double value = from[channel] + (to[channel] - from[channel]) * std::clamp(amount, 0.0, 1.0);
        result[channel] = static_cast<uint8_t>(std::lround(value));
    }
    return result;
}

// count colours from dark to light, appended to the palette.
void appendRamp(Image& image, Colour dark, Colour light, size_t count) {
    for (size_t step = 0; step < count; ++step) {
        image.palette.push_back(mix(dark, light, static_cast<double>(step) / static_cast<double>(count - 1)));
    }
}

Image blankImage(uint32_t width, uint32_t height, PixelFormat format) {
    Image image;
    image.width = width;
    image.height = height;
    image.format = format;
    image.pixels.assign(size_t{width} * height * (format == PixelFormat::kRgb ? 3 : 1), 0);
    return image;
}

uint8_t rampIndex(size_t first, size_t count, double level) {
    const double step = std::clamp(level, 0.0, 1.0) * static_cast<double>(count - 1);
    return static_cast<uint8_t>(first + static_cast<size_t>(std::lround(step)));
}

// Courses of bricks, every other course shifted by half a brick; each brick
// its own shade, flecked, with a mortar joint at its top and left.
Image brickTexture() {
    constexpr uint32_t kBrickWidth = 24;
    constexpr uint32_t kCourse = 12;
    constexpr size_t kBrickShades = 24;
    constexpr size_t kMortarShades = 8;
    Image image = blankImage(96, 96, PixelFormat::kPaletted);
    appendRamp(image, {92, 30, 20}, {190, 88, 60}, kBrickShades);
    appendRamp(image, {140, 134, 124}, {206, 200, 190}, kMortarShades);
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint32_t course = y / kCourse;
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint32_t shifted = x + (course % 2) * kBrickWidth / 2;
            const uint32_t brick = shifted / kBrickWidth;
            const bool mortar = y % kCourse < 2 || shifted % kBrickWidth < 2;
            const double fleck = latticeNoise(x, y, 1);
            uint8_t& pixel = image.pixels[size_t{y} * image.width + x];
            if (mortar) {
                pixel = rampIndex(kBrickShades, kMortarShades, fleck);
            } else {
                const double shade = 0.25 + 0.5 * latticeNoise(brick % 4, course, 2) + 0.25 * fleck;
                pixel = rampIndex(0, kBrickShades, shade - (y % kCourse == 2 ? 0.2 : 0.0));
            }
        }
    }
    return image;
}

// Horizontal boards with wavy grain, dark gaps between them and a nail at
// each end.
Image planksTexture() {
    constexpr uint32_t kBoard = 16;
    const Colour dark{96, 60, 30};
    const Colour light{186, 136, 82};
    Image image = blankImage(77, 96, PixelFormat::kRgb);
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint32_t board = y / kBoard;
        for (uint32_t x = 0; x < image.width; ++x) {
            const double grain = 0.5 + 0.5 * std::sin(0.9 * (y % kBoard) + 2.5 * std::sin(x * 0.08 + board * 1.7));
            double level = 0.35 + 0.4 * grain + 0.15 * latticeNoise(x / 3, y, 3) + 0.1 * latticeNoise(board, 0, 4);
            if (y % kBoard == 0) {
                level = 0.05;
            }
            const bool nail = y % kBoard == kBoard / 2 && (x == 4 || x == image.width - 5);
            const Colour colour = nail ? Colour{60, 60, 64} : mix(dark, light, level);
            std::copy(colour.begin(), colour.end(), image.pixels.begin() + 3 * (size_t{y} * image.width + x));
        }
    }
    return image;
}

// Rows of clay tiles, each row half a tile over from the last and laid over
// the row below it: a tile's lower edge is rounded, and between two edges
// shows the top of a tile of the next row, in shadow.
uint8_t roofTilePixel(uint32_t x, uint32_t y, size_t clayShades) {
    constexpr uint32_t kTile = 16;
    const uint32_t row = y / kTile;
    const uint32_t shifted = x + (row % 2) * kTile / 2;
    const double across = (shifted % kTile + 0.5) / kTile - 0.5;  // -0.5 to 0.5 over a tile
    const double down = (y % kTile + 0.5) / kTile;                // 0 to 1 down a row
    const double edge = 1.0 - 0.4 * (1.0 - std::sqrt(1.0 - 4.0 * across * across));
    const double fleck = latticeNoise(x, y, 5);
    if (down > edge) {
        const bool rimShadow = down - edge < 0.13;
        return rimShadow ? static_cast<uint8_t>(clayShades) : rampIndex(0, clayShades, 0.12 + 0.1 * fleck);
    }
    const double barrel = std::cos(across * 3.14159265);
    const double level = 0.2 + 0.55 * barrel * (0.5 + 0.5 * down) + 0.15 * fleck;
    return rampIndex(0, clayShades, shifted % kTile == 0 ? level * 0.6 : level);
}

Image roofTilesTexture() {
    constexpr size_t kClayShades = 30;
    Image image = blankImage(64, 64, PixelFormat::kPaletted);
    appendRamp(image, {70, 24, 14}, {214, 104, 62}, kClayShades);
    image.palette.push_back({40, 14, 10});  // the shadow under a tile's rim
    for (uint32_t y = 0; y < image.height; ++y) {
        for (uint32_t x = 0; x < image.width; ++x) {
            image.pixels[size_t{y} * image.width + x] = roofTilePixel(x, y, kClayShades);
        }
    }
    return image;
}

Colour windowPixel(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
    constexpr uint32_t kFrame = 6;
    constexpr uint32_t kBar = 2;
    const Colour frame{236, 232, 220};
    const Colour frameShadow{170, 164, 150};
    const bool outer = x < kFrame || y < kFrame || x >= width - kFrame || y >= height - kFrame;
    const bool bar = (x >= width / 2 - kBar && x <= width / 2 + kBar) || (y >= height / 2 - kBar && y <= height / 2 + kBar);
    if (outer || bar) {
        const bool shadow = x == kFrame - 1 || y == kFrame - 1 || x == width / 2 + kBar || y == height / 2 + kBar;
        return shadow ? frameShadow : frame;
    }
    // Glass: sky from light at the top to deep blue, with a diagonal glint.
    const double down = static_cast<double>(y) / height;
    Colour glass = mix({170, 210, 236}, {40, 80, 140}, down);
    const int diagonal = static_cast<int>(x) + static_cast<int>(y) - static_cast<int>(width) / 2;
    if (diagonal % 23 >= 0 && diagonal % 23 < 3) {
        glass = mix(glass, {255, 255, 255}, 0.55);
    }
    return glass;
}

Image windowTexture() {
    Image image = blankImage(63, 80, PixelFormat::kRgb);
    for (uint32_t y = 0; y < image.height; ++y) {
        for (uint32_t x = 0; x < image.width; ++x) {
            const Colour colour = windowPixel(x, y, image.width, image.height);
            std::copy(colour.begin(), colour.end(), image.pixels.begin() + 3 * (size_t{y} * image.width + x));
        }
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    using zelvane::tools::PcxWriteForm;
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_textures FOLDER\n");
        return 1;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    struct Texture {
        const char* name;
        Image image;
        PcxWriteForm form;
    };
    const Texture textures[] = {{"brick.pcx", brickTexture(), PcxWriteForm::kIndexed},
                                {"planks.pcx", planksTexture(), PcxWriteForm::kRgb},
                                {"roof_tiles.pcx", roofTilesTexture(), PcxWriteForm::kIndexed},
                                {"window.pcx", windowTexture(), PcxWriteForm::kRgb}};
    for (const Texture& texture : textures) {
        const std::string path = (folder / texture.name).string();
        if (!zelvane::tools::saveBytes(path, zelvane::tools::encodePcx(texture.image, texture.form))) {
            std::fprintf(stderr, "make_sample_textures: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    std::printf("4 textures in %s\n", argv[1]);
    return 0;
}
