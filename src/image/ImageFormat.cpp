// Telling the image formats apart by their first bytes.
#include <algorithm>
#include <array>
#include <cctype>

#include "ImageCodec.h"

namespace zelvane {

namespace {

constexpr uint8_t kPcxManufacturer = 0x0A;
constexpr uint8_t kPcxRunLengthEncoding = 1;
constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool startsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// Manufacturer 10, a version of the format's history (0, 2, 3, 4 or 5) and
// run-length encoding.
bool looksLikePcx(std::span<const uint8_t> bytes) {
    if (bytes.size() < 3 || bytes[0] != kPcxManufacturer || bytes[2] != kPcxRunLengthEncoding) {
        return false;
    }
    const uint8_t version = bytes[1];
    return version == 0 || (version >= 2 && version <= 5);
}

bool endsWithTga(std::string_view fileName) {
    constexpr std::string_view kEnding = ".tga";
    if (fileName.size() < kEnding.size()) {
        return false;
    }
    const std::string_view tail = fileName.substr(fileName.size() - kEnding.size());
    return std::equal(tail.begin(), tail.end(), kEnding.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

}  // namespace

ImageFormat detectImageFormat(std::span<const uint8_t> bytes, std::string_view fileName) {
    constexpr std::array<uint8_t, 2> kBmpSignature = {'B', 'M'};
    constexpr std::array<uint8_t, 3> kJpegSignature = {0xFF, 0xD8, 0xFF};
    if (looksLikePcx(bytes)) {
        return ImageFormat::kPcx;
    }
    if (startsWith(bytes, kBmpSignature)) {
        return ImageFormat::kBmp;
    }
    if (startsWith(bytes, kPngSignature)) {
        return ImageFormat::kPng;
    }
    if (startsWith(bytes, kJpegSignature)) {
        return ImageFormat::kJpeg;
    }
    return endsWithTga(fileName) ? ImageFormat::kTga : ImageFormat::kUnknown;
}

std::string_view mimeTypeOf(ImageFormat format) {
    switch (format) {
        case ImageFormat::kPng:
            return "image/png";
        case ImageFormat::kJpeg:
            return "image/jpeg";
        default:
            return "";
    }
}

}  // namespace zelvane
