#include "MedianCut.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelvane {
namespace {

constexpr size_t kPaletteSize = 256;

// A distinct colour as 0xRRGGBB and how many pixels have it.
struct ColourCount {
    uint32_t colour = 0;
    uint64_t pixels = 0;
};

uint32_t channelOf(uint32_t colour, size_t channel) {
    return colour >> (16 - 8 * channel) & 0xFF;
}

// The distinct colours of the image in ascending order, with their counts.
std::vector<ColourCount> countColours(const Image& image) {
    const size_t channels = image.format == PixelFormat::kRgba ? 4 : 3;
    std::vector<uint32_t> colours(image.pixels.size() / channels);
    for (size_t pixel = 0; pixel < colours.size(); ++pixel) {
        const uint8_t* p = &image.pixels[pixel * channels];
        colours[pixel] = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    }
    std::sort(colours.begin(), colours.end());
    std::vector<ColourCount> counts;
    for (const uint32_t colour : colours) {
        if (counts.empty() || counts.back().colour != colour) {
            counts.push_back({colour, 0});
        }
        ++counts.back().pixels;
    }
    return counts;
}

// A range of the distinct colours, which a split sorts in place.
struct Box {
    size_t begin = 0;
    size_t end = 0;
    size_t widestChannel = 0;
    uint32_t widestRange = 0;
};

Box measured(const std::vector<ColourCount>& colours, size_t begin, size_t end) {
    Box box{begin, end, 0, 0};
    for (size_t channel = 0; channel < 3; ++channel) {
        uint32_t low = 255;
        uint32_t high = 0;
        for (size_t k = begin; k < end; ++k) {
            low = std::min(low, channelOf(colours[k].colour, channel));
            high = std::max(high, channelOf(colours[k].colour, channel));
        }
        if (high - low > box.widestRange || channel == 0) {
            box.widestChannel = channel;
            box.widestRange = high - low;
        }
    }
    return box;
}

// Splits the box at the colour where half of its pixels lie before, each
// part keeping at least one colour.
std::pair<Box, Box> split(std::vector<ColourCount>& colours, const Box& box) {
    const auto first = colours.begin() + static_cast<ptrdiff_t>(box.begin);
    const auto last = colours.begin() + static_cast<ptrdiff_t>(box.end);
    std::sort(first, last, [&](const ColourCount& a, const ColourCount& b) {
        const uint32_t ka = channelOf(a.colour, box.widestChannel);
        const uint32_t kb = channelOf(b.colour, box.widestChannel);
        return ka != kb ? ka < kb : a.colour < b.colour;
    });
    uint64_t total = 0;
    for (auto it = first; it != last; ++it) {
        total += it->pixels;
    }
    size_t middle = box.begin;
    for (uint64_t before = 0; middle + 1 < box.end && 2 * (before + colours[middle].pixels) <= total; ++middle) {
        before += colours[middle].pixels;
    }
    middle = std::max(middle, box.begin + 1);
    return {measured(colours, box.begin, middle), measured(colours, middle, box.end)};
}

std::vector<Box> medianCut(std::vector<ColourCount>& colours) {
    std::vector<Box> boxes{measured(colours, 0, colours.size())};
    while (boxes.size() < kPaletteSize) {
        size_t widest = boxes.size();
        for (size_t k = 0; k < boxes.size(); ++k) {
            const bool splittable = boxes[k].end - boxes[k].begin > 1;
            if (splittable && (widest == boxes.size() || boxes[k].widestRange > boxes[widest].widestRange)) {
                widest = k;
            }
        }
        if (widest == boxes.size()) {
            break;
        }
        const auto [low, high] = split(colours, boxes[widest]);
        boxes[widest] = low;
        boxes.push_back(high);
    }
    return boxes;
}

std::array<uint8_t, 3> meanOf(const std::vector<ColourCount>& colours, const Box& box) {
    std::array<uint64_t, 3> sums{};
    uint64_t pixels = 0;
    for (size_t k = box.begin; k < box.end; ++k) {
        for (size_t channel = 0; channel < 3; ++channel) {
            sums[channel] += uint64_t{channelOf(colours[k].colour, channel)} * colours[k].pixels;
        }
        pixels += colours[k].pixels;
    }
    std::array<uint8_t, 3> mean{};
    for (size_t channel = 0; channel < 3; ++channel) {
        mean[channel] = static_cast<uint8_t>((sums[channel] + pixels / 2) / pixels);
    }
    return mean;
}

uint8_t nearestEntry(uint32_t colour, const std::vector<std::array<uint8_t, 3>>& palette) {
    uint32_t best = UINT32_MAX;
    size_t bestEntry = 0;
    for (size_t entry = 0; entry < palette.size() && best > 0; ++entry) {
        uint32_t distance = 0;
        for (size_t channel = 0; channel < 3; ++channel) {
            const int difference = int(channelOf(colour, channel)) - int(palette[entry][channel]);
            distance += static_cast<uint32_t>(difference * difference);
        }
        if (distance < best) {
            best = distance;
            bestEntry = entry;
        }
    }
    return static_cast<uint8_t>(bestEntry);
}

}  // namespace

bool hasTransparency(const Image& image) {
    if (image.format != PixelFormat::kRgba) {
        return false;
    }
    for (size_t at = 3; at < image.pixels.size(); at += 4) {
        if (image.pixels[at] != 255) {
            return true;
        }
    }
    return false;
}

Image toPalette(const Image& image) {
    if (image.format == PixelFormat::kPaletted) {
        return image;
    }
    std::vector<ColourCount> colours = countColours(image);
    Image paletted{image.width, image.height, PixelFormat::kPaletted, {}, {}};
    std::vector<uint8_t> entryOfColour(colours.size());  // by the colours' ascending order
    if (colours.size() <= kPaletteSize) {
        for (size_t k = 0; k < colours.size(); ++k) {
            paletted.palette.push_back({static_cast<uint8_t>(channelOf(colours[k].colour, 0)),
                                        static_cast<uint8_t>(channelOf(colours[k].colour, 1)),
                                        static_cast<uint8_t>(channelOf(colours[k].colour, 2))});
            entryOfColour[k] = static_cast<uint8_t>(k);
        }
    } else {
        std::vector<ColourCount> boxed = colours;
        for (const Box& box : medianCut(boxed)) {
            paletted.palette.push_back(meanOf(boxed, box));
        }
        for (size_t k = 0; k < colours.size(); ++k) {
            entryOfColour[k] = nearestEntry(colours[k].colour, paletted.palette);
        }
    }
    const size_t channels = image.format == PixelFormat::kRgba ? 4 : 3;
    paletted.pixels.resize(image.pixels.size() / channels);
    for (size_t pixel = 0; pixel < paletted.pixels.size(); ++pixel) {
        const uint8_t* p = &image.pixels[pixel * channels];
        const uint32_t colour = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
        const auto found = std::lower_bound(colours.begin(), colours.end(), colour,
                                            [](const ColourCount& a, uint32_t c) { return a.colour < c; });
        paletted.pixels[pixel] = entryOfColour[static_cast<size_t>(found - colours.begin())];
    }
    return paletted;
}

}  // namespace zelvane
