// Images for the image tests to write and read back.
#pragma once

#include <cstdint>
#include <vector>

#include "image/Image.h"

namespace zelvane::test {

// width x height pixels that exercise an encoder: rows of one value (two
// alike in a row, so that runs can cross a row's end), runs of many lengths,
// a ramp, and noise over the whole range of values. Paletted images index
// colours entries of a palette of distinct colours (black and white for 2).
Image patternImage(uint32_t width, uint32_t height, PixelFormat format, uint32_t colours = 256);

// The pixels as RGBA, a paletted image's through its palette: what an image
// looks like, to compare with another reader's.
std::vector<uint8_t> rgbaOf(const Image& image);

}  // namespace zelvane::test
