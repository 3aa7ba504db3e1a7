#pragma once

#include <string>

namespace zelvane::test {

// True when Pillow, an image reader independent of ours, reads the same
// size and the same RGBA pixels from both image files.
bool samePixels(const std::string& a, const std::string& b);

}  // namespace zelvane::test
