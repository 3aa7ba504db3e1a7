// The samples of a strip of picture rows, 2 x 2 to a pixel: a colour and a
// depth each. One strip's memory serves the next strip.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "TriangleRaster.h"
#include "os/LargeAllocator.h"

namespace zelvane::picture {

inline constexpr uint32_t kSamplesPerPixelSide = 2;

// Red, green, blue, and 255 for a covered sample (0 for the background).
using SampleColour = std::array<uint8_t, 4>;

class SampleStrip {
public:
    // Room for strips of up to pixelRows rows of a picture pictureSide wide.
    SampleStrip(uint32_t pictureSide, uint32_t pixelRows);

    // Clears the samples for the pixel rows [firstPixelRow, endPixelRow),
    // at most the strip's room: those drawn in before, the rest being clear.
    void startRows(uint32_t firstPixelRow, uint32_t endPixelRow);
    SampleRows rows() const { return rows_; }

    // The samples that may have been drawn in since the rows started, as
    // the columns [left, right) of the rows [top, bottom): every other
    // sample is clear. A model mostly leaves much of its picture
    // background, which neither clearing nor resolving then reads.
    struct Box {
        uint32_t left = UINT32_MAX;
        uint32_t right = 0;
        uint32_t top = UINT32_MAX;
        uint32_t bottom = 0;
    };
    const Box& drawn() const { return drawn_; }
    // Widens drawn to hold a box of samples that is about to be drawn in,
    // given as raster::samplesInBox gives it (none when a first lies beyond
    // its last). Every sample set through takeNearer and setColour must lie
    // in such a box.
    void willDraw(const std::array<int64_t, 4>& samples);
    void willDraw(const Box& box);

    // Keeps the surface at inverse depth inverseDepth at the sample when it
    // is nearer than what the sample shows (a larger inverse depth); true
    // when it is, and the sample's colour is then to be set.
    bool takeNearer(uint32_t column, uint32_t row, float inverseDepth) {
        float& kept = samples_[indexOf(column, row)].inverseDepth;
        if (!(inverseDepth > kept)) {
            return false;
        }
        kept = inverseDepth;
        return true;
    }
    void setColour(uint32_t column, uint32_t row, const SampleColour& colour) {
        samples_[indexOf(column, row)].colour = colour;
    }

    // The strip's pixel rows as RGBA pixels, from its first row on: the mean
    // colour of the covered samples, and their share as alpha; transparent
    // black where none is covered.
    void resolveRows(uint8_t* pixels) const { resolveRows(pixels, rows_.first, rows_.end); }
    // The same for the sample rows [first, end) of the strip's.
    void resolveRows(uint8_t* pixels, uint32_t first, uint32_t end) const;

    // Where later, drawn over the same rows from polygons that come after
    // this strip's, is nearer than this strip, its sample replaces this
    // one's, in the sample rows [first, end). The samples become those of
    // drawing both in order into one strip: a sample keeps the first surface
    // drawn at its nearest depth. later's drawn box must be in this strip's
    // (willDraw) first.
    void takeNearerOf(const SampleStrip& later, uint32_t first, uint32_t end);

private:
    size_t indexOf(uint32_t column, uint32_t row) const {
        return size_t{row - rows_.first} * rows_.columns + column;
    }

    // A sample's colour and depth side by side: the depth test and the
    // colour it lets through touch one cache line, and a strip's samples
    // make one block.
    struct Sample {
        SampleColour colour{};
        float inverseDepth = 0.0f;  // 0 where nothing is drawn
    };

    SampleRows rows_;
    LargeVector<Sample> samples_;
    Box drawn_;
};

}  // namespace zelvane::picture
