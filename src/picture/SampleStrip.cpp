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

void SampleStrip::willDraw(const std::array<int64_t, 4>& samples) {
    const auto [left, right, top, bottom] = samples;
    if (left <= right && top <= bottom) {
        willDraw(Box{static_cast<uint32_t>(left), static_cast<uint32_t>(right + 1), static_cast<uint32_t>(top),
                     static_cast<uint32_t>(bottom + 1)});
    }
}

void SampleStrip::willDraw(const Box& box) {
    drawn_ = {std::min(drawn_.left, box.left), std::max(drawn_.right, box.right), std::min(drawn_.top, box.top),
              std::max(drawn_.bottom, box.bottom)};
}

void SampleStrip::startRows(uint32_t firstPixelRow, uint32_t endPixelRow) {
    for (uint32_t row = drawn_.top; row < drawn_.bottom; ++row) {
        std::fill(samples_.begin() + indexOf(drawn_.left, row), samples_.begin() + indexOf(drawn_.right, row),
                  Sample{});
    }
    drawn_ = {};
    rows_.first = firstPixelRow * kSamplesPerPixelSide;
    rows_.end = endPixelRow * kSamplesPerPixelSide;
}

// Pixels beyond the drawn box are background, written without reading
// their samples.
void SampleStrip::resolveRows(uint8_t* pixels, uint32_t first, uint32_t end) const {
    const uint32_t pixelColumns = rows_.columns / kSamplesPerPixelSide;
    const uint32_t firstDrawn = std::min(drawn_.left / kSamplesPerPixelSide, pixelColumns);
    const uint32_t endDrawn = std::max(firstDrawn, (drawn_.right + 1) / kSamplesPerPixelSide);
    uint8_t* pixel = pixels;
    for (uint32_t row = first; row < end; row += kSamplesPerPixelSide, pixel += size_t{pixelColumns} * 4) {
        if (row + kSamplesPerPixelSide <= drawn_.top || row >= drawn_.bottom) {
            std::fill_n(pixel, size_t{pixelColumns} * 4, uint8_t{0});
            continue;
        }
        std::fill_n(pixel, size_t{firstDrawn} * 4, uint8_t{0});
        for (uint32_t column = firstDrawn; column < endDrawn; ++column) {
            const uint32_t sample = column * kSamplesPerPixelSide;
            resolvePixel({samples_[indexOf(sample, row)].colour, samples_[indexOf(sample + 1, row)].colour,
                          samples_[indexOf(sample, row + 1)].colour, samples_[indexOf(sample + 1, row + 1)].colour},
                         pixel + size_t{column} * 4);
        }
        std::fill(pixel + size_t{endDrawn} * 4, pixel + size_t{pixelColumns} * 4, uint8_t{0});
    }
}

void SampleStrip::takeNearerOf(const SampleStrip& later, uint32_t first, uint32_t end) {
    for (uint32_t row = std::max(first, later.drawn_.top); row < std::min(end, later.drawn_.bottom); ++row) {
        for (size_t index = indexOf(later.drawn_.left, row); index < indexOf(later.drawn_.right, row); ++index) {
            if (later.samples_[index].inverseDepth > samples_[index].inverseDepth) {
                samples_[index] = later.samples_[index];
            }
        }
    }
}

}  // namespace zelvane::picture
