// Code lengths of a Huffman code no longer than a limit, as DEFLATE's
// blocks describe their codes.
#pragma once

#include <cstdint>
#include <vector>

namespace zelvane::image {

// The lengths of an optimal prefix code for symbols of these frequencies
// whose codes are at most limit bits (package-merge); 0 for a symbol of
// frequency 0. When fewer than two symbols occur, symbols 0 and 1 take part
// as if they did, so that the code is complete, as decoders want it.
std::vector<uint8_t> limitedCodeLengths(std::vector<uint32_t> frequencies, unsigned limit);

// The codes of those lengths, canonical as DEFLATE orders them, each with
// its bits reversed: DEFLATE writes a code's first bit lowest.
std::vector<uint16_t> canonicalCodes(const std::vector<uint8_t>& lengths);

}  // namespace zelvane::image
