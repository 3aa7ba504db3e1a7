#include "TgaLayout.h"

#include "ImageLimits.h"
#include "bytes/ByteCursor.h"

namespace zelvane::image {

namespace {

constexpr size_t kHeaderSize = 18;
constexpr uint8_t kRunLengthTypes = 8;  // added to the image type of the run-length encoded kinds
constexpr uint8_t kRunPacket = 0x80;

struct TgaLayout {
    size_t dataOffset = 0;
    uint8_t imageType = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t pixelBytes = 0;
};

bool knownImageType(uint8_t imageType) {
    const uint8_t kind = imageType & static_cast<uint8_t>(~kRunLengthTypes);
    return kind >= 1 && kind <= 3;  // colour-mapped, true colour, grey
}

std::string readLayout(std::span<const uint8_t> bytes, TgaLayout& layout) {
    ByteCursor cursor(bytes);
    const uint8_t idLength = cursor.readU8();
    const uint8_t colourMapType = cursor.readU8();
    layout.imageType = cursor.readU8();
    cursor.skip(2);  // first colour-map entry
    const uint16_t colourMapLength = cursor.readU16();
    const uint8_t colourMapBits = cursor.readU8();
    cursor.skip(4);  // origin
    layout.width = cursor.readU16();
    layout.height = cursor.readU16();
    layout.pixelBytes = (cursor.readU8() + 7u) / 8;
    if (!cursor.ok()) {
        return "TGA data ends early";
    }
    if (colourMapType > 1 || !knownImageType(layout.imageType) || layout.pixelBytes == 0) {
        return "not a TGA file of a known kind";
    }
    const size_t colourMapBytes = colourMapType == 1 ? size_t{colourMapLength} * ((colourMapBits + 7u) / 8) : 0;
    layout.dataOffset = kHeaderSize + idLength + colourMapBytes;
    return checkImageSide(layout.width, layout.height);
}

// Whether the packets that follow hold pixels pixels: each a count byte,
// then one pixel to repeat or count pixels as they are.
bool holdsRunLengthPixels(std::span<const uint8_t> data, uint32_t pixelBytes, uint64_t pixels) {
    size_t offset = 0;
    uint64_t seen = 0;
    while (seen < pixels) {
        if (offset == data.size()) {
            return false;
        }
        const uint8_t packet = data[offset++];
        const uint32_t count = (packet & 0x7Fu) + 1;
        const size_t packetBytes = (packet & kRunPacket) != 0 ? pixelBytes : size_t{count} * pixelBytes;
        if (packetBytes > data.size() - offset) {
            return false;
        }
        offset += packetBytes;
        seen += count;
    }
    return true;
}

}  // namespace

std::string checkTgaLayout(std::span<const uint8_t> bytes) {
    TgaLayout layout;
    if (std::string error = readLayout(bytes, layout); !error.empty()) {
        return error;
    }
    if (layout.dataOffset > bytes.size()) {
        return "TGA data ends early";
    }
    const std::span<const uint8_t> data = bytes.subspan(layout.dataOffset);
    const uint64_t pixels = uint64_t{layout.width} * layout.height;
    const bool complete = (layout.imageType & kRunLengthTypes) != 0
                              ? holdsRunLengthPixels(data, layout.pixelBytes, pixels)
                              : pixels * layout.pixelBytes <= data.size();
    return complete ? "" : tooLargeForFile(layout.width, layout.height);
}

}  // namespace zelvane::image
