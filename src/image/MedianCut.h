#pragma once

#include "Image.h"

namespace zelvane {

// The image with a palette of at most 256 colours: a paletted image as it
// is; an image of at most 256 colours with exactly those; any other with a
// median-cut palette (the box of colours with the widest range in one
// channel split at its median pixel, until there are 256 boxes, each
// giving the mean of its pixels) and every pixel the nearest entry. Alpha
// is dropped.
Image toPalette(const Image& image);

// Whether some pixel of the image is not fully opaque.
bool hasTransparency(const Image& image);

}  // namespace zelvane
