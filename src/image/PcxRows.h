// Turning expanded PCX scanlines into an image's rows.
#pragma once

#include <cstdint>
#include <span>

#include "Image.h"
#include "PcxHeader.h"
#include "PcxPalette.h"

namespace zelvane::image {

// The image from the expanded data: height scanlines of lineBytes() each,
// every scanline its planes in turn, padding after the pixels of each plane.
Image cutPcxRows(const PcxHeader& header, std::span<const uint8_t> scanlines, PcxPalette palette);

}  // namespace zelvane::image
