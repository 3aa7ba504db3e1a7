// The TGA header, and a walk through the pixel data that makes sure the file
// holds every pixel it declares, before the file goes to stb_image.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zelvane::image {

// "" when the header is of a kind stb_image reads and the pixel data,
// run-length encoded or not, is all there; else the error's words.
std::string checkTgaLayout(std::span<const uint8_t> bytes);

}  // namespace zelvane::image
