// The one translation unit with stb_image's implementation: BMP, TGA, PNG
// and JPEG, nothing that reads files. (JPEG headers are checked by
// JpegHeader.cpp first.)
#include "StbImage.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "ImageLimits.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
// Above our own limit, so that a PNG header of a larger size still reads and
// the error names its size.
#define STBI_MAX_DIMENSIONS (4 * zelvane::image::kMaxImageSide)
// GCC's flow analysis sees stb_image's unused stdio callbacks as possibly
// uninitialized once they are inlined here; they are never read.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <stb_image.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace zelvane::image {

namespace {

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

bool fitsInt(std::span<const uint8_t> bytes) {
    return bytes.size() <= static_cast<size_t>(INT_MAX);
}

}  // namespace

std::optional<StbInfo> readStbInfo(std::span<const uint8_t> bytes) {
    StbInfo info;
    if (!fitsInt(bytes) || stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &info.width,
                                                 &info.height, &info.channels) == 0) {
        return std::nullopt;
    }
    if (info.height < 0) {  // a BMP of rows from the top, whose header has the height negative
        info.height = info.height == INT_MIN ? INT_MAX : -info.height;
    }
    return info;
}

std::optional<Image> loadWithStb(std::span<const uint8_t> bytes, const StbInfo& info) {
    const bool alpha = info.channels == 2 || info.channels == 4;
    const int channels = alpha ? 4 : 3;
    int width = 0;
    int height = 0;
    int fileChannels = 0;
    if (!fitsInt(bytes)) {
        return std::nullopt;
    }
    const std::unique_ptr<stbi_uc, StbFree> pixels(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &fileChannels, channels));
    if (!pixels || width != info.width || height != info.height) {
        return std::nullopt;
    }
    Image image;
    image.width = static_cast<uint32_t>(width);
    image.height = static_cast<uint32_t>(height);
    image.format = alpha ? PixelFormat::kRgba : PixelFormat::kRgb;
    const size_t size = size_t{image.width} * image.height * static_cast<size_t>(channels);
    image.pixels.assign(pixels.get(), pixels.get() + size);
    return image;
}

std::string stbFailureReason() {
    const char* reason = stbi_failure_reason();
    return reason != nullptr ? reason : "unknown failure";
}

}  // namespace zelvane::image
