#pragma once

#include <cstdint>
#include <vector>

#include "Image.h"

namespace zelvane {

// A paletted image of at most 65535 pixels on a side as an 8-bit PCX file,
// as games of its time read them: version 5, one plane, every row
// run-length encoded on its own and padded to an even length, and the
// 256-colour palette after the marker 0x0C at the file's end. Empty for an
// image that is not paletted or too large.
std::vector<uint8_t> encodePcx(const Image& image);

}  // namespace zelvane
