// Choosing the decoder for a format.
#include "ImageCodec.h"

#include "JpegHeader.h"
#include "PcxDecoder.h"
#include "StbDecoder.h"

namespace zelvane {

DecodedImage decodeImage(std::span<const uint8_t> bytes, ImageFormat format) {
    switch (format) {
        case ImageFormat::kPcx:
            return image::decodePcx(bytes);
        case ImageFormat::kBmp:
        case ImageFormat::kTga:
        case ImageFormat::kPng:
            return image::decodeWithStb(bytes, format);
        case ImageFormat::kJpeg:
            if (std::string error = image::checkJpegHeader(bytes); !error.empty()) {
                return {std::nullopt, std::move(error)};
            }
            if (std::string error = image::checkJpegHuffmanTables(bytes); !error.empty()) {
                return {std::nullopt, std::move(error)};
            }
            return image::decodeWithStb(bytes, format);
        default:
            return {std::nullopt, "not an image of a known kind"};
    }
}

std::string checkImageHeader(std::span<const uint8_t> bytes, ImageFormat format) {
    switch (format) {
        case ImageFormat::kPng:
            return image::checkStbHeader(bytes, format);
        case ImageFormat::kJpeg:
            return image::checkJpegHeader(bytes);
        default:
            return "not a PNG or JPEG file";
    }
}

}  // namespace zelvane
