// The parts of stb_image this library uses, behind a narrow interface so
// that only StbImage.cpp compiles the decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "Image.h"

namespace zelvane::image {

struct StbInfo {
    int width = 0;
    int height = 0;
    int channels = 0;  // 1 grey, 2 grey and alpha, 3 RGB, 4 RGBA
};

// The size and channels that stb_image reads from a BMP, TGA or PNG header,
// without decoding; nullopt when it cannot read one.
std::optional<StbInfo> readStbInfo(std::span<const uint8_t> bytes);

// Decodes with stb_image into RGB, or RGBA when the file has alpha; nullopt
// when stb_image fails. The caller checks the declared size first.
std::optional<Image> loadWithStb(std::span<const uint8_t> bytes, const StbInfo& info);

// stb_image's words for its last failure in this thread.
std::string stbFailureReason();

}  // namespace zelvane::image
