// What Pillow reads from image files, through tests/images/pixels.py.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane::test {

struct PillowImage {
    bool ok = false;
    std::string mode;   // Pillow's mode: "P", "L", "1", "RGB", "RGBA"...
    std::string error;  // when not ok
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;
};

// Reads every file with Pillow in one run of the script; one answer a file,
// in order. Fails the calling test when the script does not run.
std::vector<PillowImage> readWithPillow(const std::vector<std::string>& paths);

}  // namespace zelvane::test
