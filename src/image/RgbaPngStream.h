#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ZlibCompress.h"

namespace zelvane::image {

// An RGBA PNG file made from its rows as they come, top to bottom, left
// unfiltered and compressed at zlib's fast level: the same bytes as
// encodePng(image, PngEffort::kQuick) of the whole image, without holding
// its pixels or its scanlines.
class RgbaPngStream {
public:
    RgbaPngStream(uint32_t width, uint32_t height);

    // Whole rows of width RGBA pixels, after the rows added before.
    void addRows(std::span<const uint8_t> pixels);

    // The file; empty unless exactly height rows came, when the image has no
    // pixels or its scanlines take 2 GiB or more, or when zlib failed.
    std::vector<uint8_t> finish();

private:
    uint32_t width_;
    uint32_t height_;
    uint64_t rowsAdded_ = 0;
    bool rowsWhole_ = true;
    ZlibStream stream_;
};

}  // namespace zelvane::image
