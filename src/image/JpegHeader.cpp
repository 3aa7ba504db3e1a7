// stb_image's JPEG header reader builds the Huffman tables it meets on the
// way to the frame, and in version 2.27 reads past a table's end on some
// damaged ones: the walk here reads no table at all.
#include "JpegHeader.h"

#include <algorithm>

#include "ImageLimits.h"
#include "bytes/ByteCursor.h"

namespace zelvane::image {

namespace {

constexpr uint8_t kMarkerPrefix = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kStartOfScan = 0xDA;

// Start-of-frame markers: C0 to CF but for C4 (Huffman tables), C8
// (reserved) and CC (arithmetic conditioning).
bool isStartOfFrame(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers without a length and segment: TEM and the restart markers.
bool standsAlone(uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The frame header whole: its fields, then three bytes for each component.
std::string readFrame(ByteCursor& cursor) {
    constexpr size_t kFieldsSize = 8;  // length, precision, height, width, component count
    const uint16_t length = cursor.readU16BigEndian();
    cursor.skip(1);
    const uint16_t height = cursor.readU16BigEndian();
    const uint16_t width = cursor.readU16BigEndian();
    const uint8_t components = cursor.readU8();
    if (!cursor.ok()) {
        return "JPEG data ends early";
    }
    if (components != 1 && components != 3 && components != 4) {
        return "JPEG of " + std::to_string(components) + " components not supported";
    }
    if (length != kFieldsSize + 3u * components) {
        return "JPEG frame header damaged";
    }
    if (!cursor.has(3u * components)) {
        return "JPEG data ends early";
    }
    return checkImageSide(width, height);
}

constexpr uint8_t kHuffmanTables = 0xC4;

}  // namespace

std::string checkJpegHeader(std::span<const uint8_t> bytes) {
    ByteCursor cursor(bytes);
    if (cursor.readU8() != kMarkerPrefix || cursor.readU8() != kStartOfImage) {
        return "not a JPEG file";
    }
    while (cursor.has(2)) {
        if (cursor.readU8() != kMarkerPrefix) {
            return "JPEG marker missing";
        }
        uint8_t marker = cursor.readU8();
        while (marker == kMarkerPrefix && cursor.ok()) {  // fill bytes before a marker
            marker = cursor.readU8();
        }
        if (isStartOfFrame(marker)) {
            return readFrame(cursor);
        }
        if (marker == kStartOfScan || marker == kEndOfImage) {
            return "JPEG without a frame header";
        }
        if (!standsAlone(marker)) {
            const uint16_t length = cursor.readU16BigEndian();  // counting its own two bytes
            if (length < 2) {
                return "JPEG segment length damaged";
            }
            cursor.skip(length - 2u);
        }
    }
    return "JPEG data ends early";
}

std::string checkJpegHuffmanTables(std::span<const uint8_t> bytes) {
    // A byte past the file's end reads as 0, as stb_image reads it.
    const auto byteAt = [&](size_t at) -> size_t { return at < bytes.size() ? bytes[at] : 0; };
    constexpr size_t kTableHead = 17;  // class and number, then the count of codes of each length 1 to 16
    size_t at = 2;                     // past the start of image
    while (at + 4 <= bytes.size()) {
        const uint8_t marker = bytes[at + 1];
        if (bytes[at] != kMarkerPrefix || marker == kMarkerPrefix) {
            ++at;  // entropy-coded data, or a fill byte before a marker
            continue;
        }
        if (marker == 0 || standsAlone(marker)) {
            at += 2;  // a stuffed 0xFF in entropy-coded data, or a restart marker
            continue;
        }
        if (marker == kEndOfImage) {
            break;
        }
        const size_t length = byteAt(at + 2) << 8 | byteAt(at + 3);  // counting its own two bytes
        if (marker == kHuffmanTables) {
            for (size_t table = at + 4; table < at + 2 + length;) {
                size_t codes = 0;
                for (size_t count = 1; count < kTableHead; ++count) {
                    codes += byteAt(table + count);
                }
                if (codes > 256) {
                    return "JPEG Huffman table damaged";
                }
                table += kTableHead + codes;
            }
        }
        at += 2 + std::max<size_t>(length, 2);
    }
    return "";
}

}  // namespace zelvane::image
