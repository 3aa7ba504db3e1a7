#include "StbDecoder.h"

#include <algorithm>

#include "BmpLayout.h"
#include "ImageLimits.h"
#include "StbImage.h"
#include "TgaLayout.h"
#include "bytes/ByteCursor.h"

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
// than that many bytes of its file fill, whatever its header declares. A
// JPEG spends at least two bits on an 8 x 8 block where it is plain; one
// that claims more than 1024 pixels a byte (as a progressive file can, with
// runs of empty blocks) is not decoded.
std::string checkCompressedSize(std::span<const uint8_t> bytes, const StbInfo& info, ImageFormat format) {
    const uint64_t mostPixelsPerByte = format == ImageFormat::kPng ? 1032 : 1024;
    const auto width = static_cast<uint64_t>(info.width);
    const auto height = static_cast<uint64_t>(info.height);
    return width * height > mostPixelsPerByte * bytes.size() ? tooLargeForFile(width, height) : "";
}

// stb_image copies an image data chunk into its buffer even when both are
// empty, with a null pointer: a file with an empty IDAT chunk before any
// data is refused before it gets there. It also grows its buffer to an
// image data chunk's declared length before reading it: a chunk that
// declares more bytes than the file has left is refused, or a file of a
// hundred bytes would set aside gigabytes. (The chunks are walked only as
// far as they lie in the file, up to the end chunk; stb_image judges the
// rest.)
std::string checkPngChunks(std::span<const uint8_t> bytes) {
    constexpr size_t kSignatureSize = 8;
    constexpr size_t kTypeSize = 4;
    constexpr size_t kCheckSize = 4;
    constexpr size_t kChunkFrame = 4 + kTypeSize + kCheckSize;  // length, type and check
    bool dataSeen = false;
    for (ByteCursor cursor(bytes, kSignatureSize); cursor.has(kChunkFrame);) {
        const uint32_t length = cursor.readU32BigEndian();
        const std::span<const uint8_t> type = bytes.subspan(cursor.offset(), kTypeSize);
        const bool imageData = std::equal(type.begin(), type.end(), "IDAT");
        if (imageData && length == 0 && !dataSeen) {
            return "PNG file with an empty image data chunk";
        }
        if (imageData && !cursor.has(kTypeSize + size_t{length} + kCheckSize)) {
            return "PNG file whose image data runs past its end";
        }
        if (std::equal(type.begin(), type.end(), "IEND")) {
            break;
        }
        dataSeen = dataSeen || (imageData && length > 0);
        cursor.skip(kTypeSize + size_t{length} + kCheckSize);  // past the end: the walk stops
    }
    return "";
}

}  // namespace

DecodedImage decodeWithStb(std::span<const uint8_t> bytes, ImageFormat format) {
    if (!hasSignatureOf(bytes, format)) {
        return {std::nullopt, "not a " + std::string(nameOf(format)) + " file"};
    }
    if (format == ImageFormat::kBmp || format == ImageFormat::kTga) {
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
    if (format == ImageFormat::kPng || format == ImageFormat::kJpeg) {
        std::string error = checkCompressedSize(bytes, *info, format);
        if (error.empty() && format == ImageFormat::kPng) {
            error = checkPngChunks(bytes);
        }
        if (!error.empty()) {
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
