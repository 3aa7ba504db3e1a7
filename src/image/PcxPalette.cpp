#include "PcxPalette.h"

namespace zelvane::image {

namespace {

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
