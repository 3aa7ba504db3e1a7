// Where a PCX file's colours come from: the 256-colour table at its end, the
// 16 colours of its header, or fixed black and white.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "PcxHeader.h"

namespace zelvane::image {

struct PcxPalette {
    std::vector<std::array<uint8_t, 3>> colours;  // empty for the RGB form
    size_t dataEnd = 0;                           // where the pixel data ends: before the table if there is one
};

// The palette of the file's form. An 8-bit file whose last 769 bytes do not
// start with the table's marker 12 has no table: its pixels are grey levels.
PcxPalette findPcxPalette(const PcxHeader& header, std::span<const uint8_t> bytes);

}  // namespace zelvane::image
