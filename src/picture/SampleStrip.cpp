#include "SampleStrip.h"

#include <algorithm>
#include <cstring>

namespace zelvane::picture {

namespace {

// The alpha of 0 to 4 covered samples: 255 k / 4, rounded.
constexpr std::array<uint8_t, 5> kCoverageAlpha{0, 64, 128, 191, 255};

// The mean of covered samples' channel: all four covered, the common case
// inside a surface, divides by a constant.
uint8_t meanOf(uint32_t sum, uint32_t covered) {
    return static_cast<uint8_t>(covered == 4 ? (sum + 2) / 4 : (sum + covered / 2) / covered);
}

// A sample nothing covers is all zeros (Sample{}): a pixel of four of them
// is background, transparent black.
bool isBackground(const std::array<SampleColour, 4>& samples) {
    uint32_t any = 0;
    for (const SampleColour& sample : samples) {
        uint32_t word;
        std::memcpy(&word, sample.data(), sizeof word);
        any |= word;
    }
    return any == 0;
}

void resolvePixel(const std::array<SampleColour, 4>& samples, uint8_t* pixel) {
    if (isBackground(samples)) {
        std::fill_n(pixel, 4, uint8_t{0});
        return;
    }
    uint32_t covered = 0;
    std::array<uint32_t, 3> sum{};
    for (const SampleColour& sample : samples) {
        covered += sample[3] != 0 ? 1 : 0;
        for (size_t channel = 0; channel < 3; ++channel) {
            sum[channel] += sample[channel];
        }
    }
    for (size_t channel = 0; channel < 3; ++channel) {
        pixel[channel] = meanOf(sum[channel], covered);
    }
    pixel[3] = kCoverageAlpha[covered];
}

}  // namespace

SampleStrip::SampleStrip(uint32_t pictureSide, uint32_t pixelRows)
    : samples_(size_t{pictureSide} * kSamplesPerPixelSide * pixelRows * kSamplesPerPixelSide) {
    rows_.columns = pictureSide * kSamplesPerPixelSide;
}

void SampleStrip::startRows(uint32_t firstPixelRow, uint32_t endPixelRow) {
    rows_.first = firstPixelRow * kSamplesPerPixelSide;
    rows_.end = endPixelRow * kSamplesPerPixelSide;
    if (!clean_) {
        const size_t samples = size_t{rows_.end - rows_.first} * rows_.columns;
        std::fill_n(samples_.begin(), samples, Sample{});
    }
    clean_ = false;
}

void SampleStrip::resolveRows(uint8_t* pixels, uint32_t first, uint32_t end) const {
    uint8_t* pixel = pixels;
    for (uint32_t row = first; row < end; row += kSamplesPerPixelSide) {
        for (uint32_t column = 0; column < rows_.columns; column += kSamplesPerPixelSide, pixel += 4) {
            resolvePixel({samples_[indexOf(column, row)].colour, samples_[indexOf(column + 1, row)].colour,
                          samples_[indexOf(column, row + 1)].colour, samples_[indexOf(column + 1, row + 1)].colour},
                         pixel);
        }
    }
}

void SampleStrip::takeNearerOf(const SampleStrip& later, uint32_t first, uint32_t end) {
    const size_t last = indexOf(0, end);
    for (size_t index = indexOf(0, first); index < last; ++index) {
        if (later.samples_[index].inverseDepth > samples_[index].inverseDepth) {
            samples_[index] = later.samples_[index];
        }
    }
}

}  // namespace zelvane::picture
