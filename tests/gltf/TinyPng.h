// Small PNG files for the images that glTF outputs carry in the tests.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace zelvane::test {

// A PNG of width x height pixels of one RGB colour, its pixel data stored
// without compression: valid for any reader, and different for every size
// and colour.
std::vector<uint8_t> solidPng(uint32_t width, uint32_t height, const std::array<uint8_t, 3>& colour);

}  // namespace zelvane::test
