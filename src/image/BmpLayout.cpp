#include "BmpLayout.h"

#include <cstdlib>

#include "ImageLimits.h"
#include "bytes/ByteCursor.h"

namespace zelvane::image {

namespace {

constexpr size_t kDataOffsetOffset = 10;
constexpr uint32_t kCoreHeaderSize = 12;  // the old header of 16-bit sizes and no compression
constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kBitFields = 3;

struct BmpLayout {
    uint32_t dataOffset = 0;
    int64_t width = 0;
    int64_t height = 0;  // negative for rows from the top
    uint32_t bitsPerPixel = 0;
    uint32_t compression = kUncompressed;
};

bool readLayout(std::span<const uint8_t> bytes, BmpLayout& layout) {
    ByteCursor cursor(bytes, kDataOffsetOffset);
    layout.dataOffset = cursor.readU32();
    const uint32_t headerSize = cursor.readU32();
    if (headerSize == kCoreHeaderSize) {
        layout.width = cursor.readU16();
        layout.height = cursor.readU16();
        cursor.skip(2);  // planes
        layout.bitsPerPixel = cursor.readU16();
    } else {
        layout.width = static_cast<int32_t>(cursor.readU32());
        layout.height = static_cast<int32_t>(cursor.readU32());
        cursor.skip(2);
        layout.bitsPerPixel = cursor.readU16();
        layout.compression = cursor.readU32();
    }
    return cursor.ok();
}

// Every row but the last padded to four bytes; the last one's padding may
// be missing.
uint64_t pixelBytes(const BmpLayout& layout, uint64_t width, uint64_t height) {
    const uint64_t rowBits = width * layout.bitsPerPixel;
    const uint64_t paddedRow = (rowBits + 31) / 32 * 4;
    return (height - 1) * paddedRow + (rowBits + 7) / 8;
}

}  // namespace

std::string checkBmpLayout(std::span<const uint8_t> bytes) {
    BmpLayout layout;
    if (!readLayout(bytes, layout)) {
        return "BMP data ends early";
    }
    if (layout.compression != kUncompressed && layout.compression != kBitFields) {
        return "BMP compression " + std::to_string(layout.compression) + " not supported";
    }
    const auto width = static_cast<uint64_t>(std::llabs(layout.width));
    const auto height = static_cast<uint64_t>(std::llabs(layout.height));
    if (std::string error = checkImageSide(width, height); !error.empty()) {
        return error;
    }
    if (layout.dataOffset > bytes.size() ||
        pixelBytes(layout, width, height) > bytes.size() - layout.dataOffset) {
        return tooLargeForFile(width, height);
    }
    return "";
}

}  // namespace zelvane::image
