// The run-length encoding of PCX pixel data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zelvane::image {

// The most bytes that size bytes of encoded data can expand to: every pair a
// run of 63, and a last odd byte a literal.
constexpr uint64_t maxPcxExpansion(uint64_t size) {
    return size / 2 * 63 + size % 2;
}

// Expands encoded into out, through scanline and plane ends alike, until out
// is full or encoded ends; the number of bytes written. A run that would go
// past the end of out is cut there, and a count byte that ends the data is
// dropped.
size_t expandPcxRle(std::span<const uint8_t> encoded, std::span<uint8_t> out);

}  // namespace zelvane::image
