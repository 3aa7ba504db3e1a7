// The size limits every decoder applies before it sets memory aside.
#pragma once

#include <cstdint>
#include <string>

namespace zelvane::image {

// Larger than any texture a game engine takes, and small enough that a whole
// RGBA image and its PNG scanlines stay below 2 GiB.
constexpr uint32_t kMaxImageSide = 16384;

// "" when an image of width x height pixels is within the limits, else the
// words for the error.
std::string checkImageSide(uint64_t width, uint64_t height);

// The words for an image whose file is too small for its declared size.
std::string tooLargeForFile(uint64_t width, uint64_t height);

}  // namespace zelvane::image
