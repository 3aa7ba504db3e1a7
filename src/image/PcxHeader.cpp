// The header of a PCX file and where its colours come from.
#include "PcxDecoder.h"

#include "bytes/ByteCursor.h"

namespace zelvane::image {

namespace {

constexpr uint8_t kManufacturer = 0x0A;
constexpr uint8_t kRunLengthEncoding = 1;
constexpr uint8_t kPaletteVersion = 5;  // the version that has the 256-colour palette
constexpr size_t kPlanesOffset = 65;

struct Window {
    uint16_t xMin, yMin, xMax, yMax;
};

std::string formWords(const PcxHeader& header) {
    return "PCX form of " + std::to_string(header.bitsPerPixel) + " bits in " + std::to_string(header.planes) +
           " planes (version " + std::to_string(header.version) + ") not supported";
}

// The pixel form from bits per pixel and planes; the 8-bit forms only in
// version 5, which brought them.
bool findForm(PcxHeader& header) {
    const uint8_t bits = header.bitsPerPixel;
    const uint8_t planes = header.planes;
    if (bits == 1 && planes == 1) {
        header.form = PcxForm::kMonochrome;
    } else if (bits == 1 && (planes == 2 || planes == 4)) {
        header.form = PcxForm::kBitPlanes;
    } else if (bits == 4 && planes == 1) {
        header.form = PcxForm::kNibbles;
    } else if (bits == 8 && planes == 1 && header.version == kPaletteVersion) {
        header.form = PcxForm::kIndexed;
    } else if (bits == 8 && planes == 3 && header.version == kPaletteVersion) {
        header.form = PcxForm::kRgb;
    } else {
        return false;
    }
    return true;
}

void readHeaderPalette(ByteCursor& cursor, PcxHeader& header) {
    for (auto& colour : header.headerPalette) {
        for (uint8_t& channel : colour) {
            channel = cursor.readU8();
        }
    }
}

std::string checkLineLength(const PcxHeader& header) {
    const uint64_t needed = (uint64_t{header.width} * header.bitsPerPixel + 7) / 8;
    if (header.bytesPerLine < needed) {
        return "PCX line of " + std::to_string(header.bytesPerLine) + " bytes is too short for " +
               std::to_string(header.width) + " pixels";
    }
    return "";
}

constexpr uint8_t kTableMarker = 0x0C;
constexpr size_t kTableColours = 256;
constexpr size_t kTableSize = 1 + 3 * kTableColours;

std::vector<std::array<uint8_t, 3>> greyLevels() {
    std::vector<std::array<uint8_t, 3>> colours(kTableColours);
    for (size_t index = 0; index < kTableColours; ++index) {
        const auto level = static_cast<uint8_t>(index);
        colours[index] = {level, level, level};
    }
    return colours;
}

std::vector<std::array<uint8_t, 3>> readTable(std::span<const uint8_t> table) {
    std::vector<std::array<uint8_t, 3>> colours(kTableColours);
    for (size_t index = 0; index < kTableColours; ++index) {
        colours[index] = {table[1 + 3 * index], table[2 + 3 * index], table[3 + 3 * index]};
    }
    return colours;
}

PcxPalette tableAtEnd(std::span<const uint8_t> bytes) {
    if (bytes.size() >= kPcxHeaderSize + kTableSize && bytes[bytes.size() - kTableSize] == kTableMarker) {
        return {readTable(bytes.last(kTableSize)), bytes.size() - kTableSize};
    }
    return {greyLevels(), bytes.size()};
}

}  // namespace

std::string readPcxHeader(std::span<const uint8_t> bytes, PcxHeader& header) {
    if (bytes.empty() || bytes[0] != kManufacturer) {
        return "not a PCX file";
    }
    if (bytes.size() < kPcxHeaderSize) {
        return "PCX data ends early";
    }
    ByteCursor cursor(bytes, 1);
    header.version = cursor.readU8();
    const uint8_t encoding = cursor.readU8();
    header.bitsPerPixel = cursor.readU8();
    const Window window{cursor.readU16(), cursor.readU16(), cursor.readU16(), cursor.readU16()};
    cursor.skip(4);  // resolution
    readHeaderPalette(cursor, header);
    cursor = ByteCursor(bytes, kPlanesOffset);
    header.planes = cursor.readU8();
    header.bytesPerLine = cursor.readU16();
    if (encoding != kRunLengthEncoding) {
        return "PCX encoding " + std::to_string(encoding) + " not supported";
    }
    if (window.xMax < window.xMin || window.yMax < window.yMin) {
        return "PCX window is empty";
    }
    header.width = uint32_t{window.xMax} - window.xMin + 1;
    header.height = uint32_t{window.yMax} - window.yMin + 1;
    return findForm(header) ? checkLineLength(header) : formWords(header);
}

PcxPalette findPcxPalette(const PcxHeader& header, std::span<const uint8_t> bytes) {
    switch (header.form) {
        case PcxForm::kMonochrome:
            return {{{0, 0, 0}, {255, 255, 255}}, bytes.size()};
        case PcxForm::kBitPlanes: {
            const size_t count = size_t{1} << header.planes;
            return {{header.headerPalette.begin(), header.headerPalette.begin() + count}, bytes.size()};
        }
        case PcxForm::kNibbles:
            return {{header.headerPalette.begin(), header.headerPalette.end()}, bytes.size()};
        case PcxForm::kIndexed:
            return tableAtEnd(bytes);
        case PcxForm::kRgb:
            break;
    }
    return {{}, bytes.size()};
}

}  // namespace zelvane::image
