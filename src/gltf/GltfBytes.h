// The numbers of a glTF buffer and of a .glb file's headers are
// little-endian: they go in as the machine holds them, on the machines this
// builds for.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "text/TextBuffer.h"

namespace zelvane {

static_assert(std::endian::native == std::endian::little, "glTF numbers are written as the machine holds them");

inline void appendWord(TextBuffer& out, uint32_t word) {
    char* bytes = out.beginWrite(sizeof word);
    std::memcpy(bytes, &word, sizeof word);
    out.endWrite(bytes + sizeof word);
}

}  // namespace zelvane
