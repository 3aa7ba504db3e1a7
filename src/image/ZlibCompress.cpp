// The one translation unit with stb_image_write's implementation, of which
// only the zlib compressor is used.
#include "ZlibCompress.h"

#include <climits>
#include <cstdlib>
#include <memory>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace zelvane::image {

namespace {

// stb_image_write's default, a fair trade of size for speed.
constexpr int kQuality = 8;

struct StbWriteFree {
    void operator()(unsigned char* bytes) const { STBIW_FREE(bytes); }
};

}  // namespace

std::vector<uint8_t> compressZlib(std::span<const uint8_t> bytes) {
    if (bytes.size() >= static_cast<size_t>(INT_MAX)) {
        return {};
    }
    int size = 0;
    // stb_image_write takes a pointer to non-const data but only reads it.
    auto* data = const_cast<unsigned char*>(bytes.data());
    const std::unique_ptr<unsigned char, StbWriteFree> stream(
        stbi_zlib_compress(data, static_cast<int>(bytes.size()), &size, kQuality));
    if (!stream || size <= 0) {
        return {};
    }
    return {stream.get(), stream.get() + size};
}

}  // namespace zelvane::image
