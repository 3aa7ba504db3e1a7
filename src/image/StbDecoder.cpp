#include "StbDecoder.h"

#include "BmpLayout.h"
#include "ImageLimits.h"
#include "StbImage.h"
#include "TgaLayout.h"

namespace zelvane::image {

namespace {

std::string_view nameOf(ImageFormat format) {
    switch (format) {
        case ImageFormat::kBmp:
            return "BMP";
        case ImageFormat::kTga:
            return "TGA";
        case ImageFormat::kPng:
            return "PNG";
        case ImageFormat::kJpeg:
            return "JPEG";
        default:
            return "image";
    }
}

std::string unreadable(ImageFormat format) {
    return std::string(nameOf(format)) + " file unreadable: " + stbFailureReason();
}

// The signature that stb_image also goes by, so that the file is read as the
// format asked for and as no other.
bool hasSignatureOf(std::span<const uint8_t> bytes, ImageFormat format) {
    const ImageFormat detected = detectImageFormat(bytes, format == ImageFormat::kTga ? ".tga" : "");
    return detected == format;
}

// Deflate makes at most 1032 bytes of one: a PNG cannot hold more pixels
// than that many bytes of its file fill, whatever its header declares.
std::string checkPngSize(std::span<const uint8_t> bytes, const StbInfo& info) {
    constexpr uint64_t kMostDeflateExpansion = 1032;
    const auto width = static_cast<uint64_t>(info.width);
    const auto height = static_cast<uint64_t>(info.height);
    return width * height > kMostDeflateExpansion * bytes.size() ? tooLargeForFile(width, height) : "";
}

}  // namespace

DecodedImage decodeWithStb(std::span<const uint8_t> bytes, ImageFormat format) {
    if (!hasSignatureOf(bytes, format)) {
        return {std::nullopt, "not a " + std::string(nameOf(format)) + " file"};
    }
    if (format != ImageFormat::kPng) {
        if (std::string error = format == ImageFormat::kBmp ? checkBmpLayout(bytes) : checkTgaLayout(bytes);
            !error.empty()) {
            return {std::nullopt, std::move(error)};
        }
    }
    const std::optional<StbInfo> info = readStbInfo(bytes);
    if (!info) {
        return {std::nullopt, unreadable(format)};
    }
    if (std::string error = checkImageSide(static_cast<uint64_t>(info->width), static_cast<uint64_t>(info->height));
        !error.empty()) {
        return {std::nullopt, std::move(error)};
    }
    if (format == ImageFormat::kPng) {
        if (std::string error = checkPngSize(bytes, *info); !error.empty()) {
            return {std::nullopt, std::move(error)};
        }
    }
    std::optional<Image> image = loadWithStb(bytes, *info);
    if (!image) {
        return {std::nullopt, unreadable(format)};
    }
    return {std::move(image), ""};
}

std::string checkStbHeader(std::span<const uint8_t> bytes, ImageFormat format) {
    if (!hasSignatureOf(bytes, format)) {
        return "not a " + std::string(nameOf(format)) + " file";
    }
    const std::optional<StbInfo> info = readStbInfo(bytes);
    if (!info) {
        return unreadable(format);
    }
    return checkImageSide(static_cast<uint64_t>(info->width), static_cast<uint64_t>(info->height));
}

}  // namespace zelvane::image
