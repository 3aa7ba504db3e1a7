#include "PcxDecoder.h"

#include "ImageLimits.h"
#include "PcxPalette.h"
#include "PcxRle.h"
#include "PcxRows.h"

namespace zelvane::image {

namespace {

DecodedImage failure(std::string words) {
    return {std::nullopt, std::move(words)};
}

// Whether the encoded data can expand to every scanline the header declares:
// checked before any memory is set aside for them.
std::string checkDataSize(const PcxHeader& header, size_t encodedSize) {
    const uint64_t expanded = uint64_t{header.lineBytes()} * header.height;
    if (expanded > maxPcxExpansion(encodedSize)) {
        return tooLargeForFile(header.width, header.height);
    }
    return checkImageSide(header.width, header.height);
}

}  // namespace

DecodedImage decodePcx(std::span<const uint8_t> bytes) {
    PcxHeader header;
    if (std::string error = readPcxHeader(bytes, header); !error.empty()) {
        return failure(std::move(error));
    }
    PcxPalette palette = findPcxPalette(header, bytes);
    const std::span<const uint8_t> encoded = bytes.subspan(kPcxHeaderSize, palette.dataEnd - kPcxHeaderSize);
    if (std::string error = checkDataSize(header, encoded.size()); !error.empty()) {
        return failure(std::move(error));
    }
    std::vector<uint8_t> scanlines(size_t{header.lineBytes()} * header.height);
    if (expandPcxRle(encoded, scanlines) < scanlines.size()) {
        return failure("PCX data ends early");
    }
    return {cutPcxRows(header, scanlines, std::move(palette)), ""};
}

}  // namespace zelvane::image
