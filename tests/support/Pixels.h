#pragma once

#include <string>

namespace zelvane::test {

// True when Pillow, an image reader independent of ours, reads the same
// size and the same RGBA pixels from both image files.
bool samePixels(const std::string& a, const std::string& b);

// What Pillow reads from an image file: "<format> <width> <height> <mode>",
// such as "PNG 512 512 RGBA", and how many of its pixels are not fully
// transparent ("... 1234"); "" when it reads no image.
std::string imageSummary(const std::string& path);

}  // namespace zelvane::test
