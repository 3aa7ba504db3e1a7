#include "PcxRle.h"

#include <algorithm>

namespace zelvane::image {

namespace {

constexpr uint8_t kRunMarker = 0xC0;  // the two top bits set: the low six bits count the next byte
constexpr uint8_t kCountMask = 0x3F;

}  // namespace

size_t expandPcxRle(std::span<const uint8_t> encoded, std::span<uint8_t> out) {
    size_t in = 0;
    size_t written = 0;
    while (written < out.size() && in < encoded.size()) {
        const uint8_t code = encoded[in++];
        if ((code & kRunMarker) != kRunMarker) {
            out[written++] = code;
            continue;
        }
        if (in == encoded.size()) {
            break;
        }
        const size_t count = std::min<size_t>(code & kCountMask, out.size() - written);
        std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(written), count, encoded[in++]);
        written += count;
    }
    return written;
}

}  // namespace zelvane::image
