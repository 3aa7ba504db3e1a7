// The scanlines of a PNG image before compression: each row a filter-type
// byte and the row's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Image.h"
#include "os/LargeAllocator.h"

namespace zelvane::image {

// The smallest PNG bit depth (1, 2, 4 or 8) that holds palette indices below
// colours.
uint8_t indexBitDepth(size_t colours);

// Paletted rows packed to bitDepth bits a pixel, leftmost pixel in the high
// bits, each with filter type 0 (none): filters rarely help palette indices.
std::vector<uint8_t> packIndexRows(const Image& image, uint8_t bitDepth);

// RGB or RGBA rows, each with the filter of the smallest sum of absolute
// values among the five, the usual guess at what compresses best.
std::vector<uint8_t> filterColourRows(const Image& image);

// The same rows, each with filter type 0 (none): on pictures of models,
// mostly background and areas of one colour, a fast zlib level finds the
// repeated pixels themselves better than their differences, and there is
// nothing to compute. In large pages, which cost fewer faults to fill.
LargeVector<uint8_t> unfilteredRows(const Image& image);

}  // namespace zelvane::image
