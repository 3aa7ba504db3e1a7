#include "RgbaPngStream.h"

#include <climits>

#include "PngChunks.h"

namespace zelvane::image {

namespace {

constexpr size_t kRgbaBytes = 4;
constexpr uint8_t kFilterNone = 0;

}  // namespace

RgbaPngStream::RgbaPngStream(uint32_t width, uint32_t height)
    : width_(width), height_(height), stream_(ZlibEffort::kFast) {}

void RgbaPngStream::addRows(std::span<const uint8_t> pixels) {
    const size_t rowBytes = size_t{width_} * kRgbaBytes;
    if (rowBytes == 0 || pixels.size() % rowBytes != 0) {
        rowsWhole_ = false;
        return;
    }
    const uint8_t filter = kFilterNone;
    for (size_t offset = 0; offset < pixels.size(); offset += rowBytes) {
        stream_.add({&filter, 1});
        stream_.add(pixels.subspan(offset, rowBytes));
    }
    rowsAdded_ += pixels.size() / rowBytes;
}

std::vector<uint8_t> RgbaPngStream::finish() {
    const uint64_t scanlineBytes = (uint64_t{width_} * kRgbaBytes + 1) * height_;
    if (!rowsWhole_ || rowsAdded_ != height_ || height_ == 0 || scanlineBytes >= INT_MAX) {
        return {};
    }
    const std::vector<uint8_t> compressed = stream_.finish();
    return compressed.empty() ? compressed
                              : assemblePng({width_, height_, 8, kPngColourTypeRgba}, {}, compressed);
}

}  // namespace zelvane::image
