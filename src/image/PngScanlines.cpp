#include "PngScanlines.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace zelvane::image {

namespace {

enum Filter : uint8_t { kNone, kSub, kUp, kAverage, kPaeth, kFilterCount };

uint8_t paethPredictor(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) {
        return static_cast<uint8_t>(left);
    }
    return static_cast<uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

uint8_t predictor(Filter filter, uint8_t left, uint8_t up, uint8_t upLeft) {
    switch (filter) {
        case kSub:
            return left;
        case kUp:
            return up;
        case kAverage:
            return static_cast<uint8_t>((left + up) / 2);
        case kPaeth:
            return paethPredictor(left, up, upLeft);
        default:
            return 0;
    }
}

// Filters row into out and returns the sum of the results taken as signed
// bytes. prior is the row above, all zeros for the first.
uint64_t filterRow(Filter filter, const uint8_t* row, const uint8_t* prior, size_t size, size_t pixelBytes,
                   uint8_t* out) {
    uint64_t sum = 0;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t left = i >= pixelBytes ? row[i - pixelBytes] : 0;
        const uint8_t upLeft = i >= pixelBytes ? prior[i - pixelBytes] : 0;
        const auto value = static_cast<uint8_t>(row[i] - predictor(filter, left, prior[i], upLeft));
        out[i] = value;
        sum += static_cast<uint64_t>(std::abs(static_cast<int8_t>(value)));
    }
    return sum;
}

// Writes the best-filtered row, filter-type byte first, into out.
void writeBestRow(const uint8_t* row, const uint8_t* prior, size_t size, size_t pixelBytes,
                  std::vector<uint8_t>& candidate, uint8_t* out) {
    uint64_t bestSum = std::numeric_limits<uint64_t>::max();
    for (uint8_t filter = kNone; filter < kFilterCount; ++filter) {
        const uint64_t sum = filterRow(static_cast<Filter>(filter), row, prior, size, pixelBytes, candidate.data());
        if (sum < bestSum) {
            bestSum = sum;
            out[0] = filter;
            std::copy(candidate.begin(), candidate.end(), out + 1);
        }
    }
}

}  // namespace

uint8_t indexBitDepth(size_t colours) {
    if (colours <= 2) {
        return 1;
    }
    if (colours <= 4) {
        return 2;
    }
    return colours <= 16 ? 4 : 8;
}

std::vector<uint8_t> packIndexRows(const Image& image, uint8_t bitDepth) {
    const size_t rowBytes = (size_t{image.width} * bitDepth + 7) / 8;
    const unsigned perByte = 8u / bitDepth;
    std::vector<uint8_t> scanlines((rowBytes + 1) * image.height, 0);
    for (size_t y = 0; y < image.height; ++y) {
        const uint8_t* row = image.pixels.data() + y * image.width;
        uint8_t* out = scanlines.data() + y * (rowBytes + 1) + 1;
        for (size_t x = 0; x < image.width; ++x) {
            const auto shift = static_cast<unsigned>(8 - bitDepth * (x % perByte + 1));
            out[x / perByte] = static_cast<uint8_t>(out[x / perByte] | row[x] << shift);
        }
    }
    return scanlines;
}

LargeVector<uint8_t> unfilteredRows(const Image& image) {
    const size_t pixelBytes = image.format == PixelFormat::kRgba ? 4 : 3;
    const size_t rowBytes = size_t{image.width} * pixelBytes;
    LargeVector<uint8_t> scanlines((rowBytes + 1) * image.height);
    for (size_t y = 0; y < image.height; ++y) {
        const uint8_t* row = image.pixels.data() + y * rowBytes;
        uint8_t* out = scanlines.data() + y * (rowBytes + 1);
        out[0] = kNone;
        std::copy(row, row + rowBytes, out + 1);
    }
    return scanlines;
}

std::vector<uint8_t> filterColourRows(const Image& image) {
    const size_t pixelBytes = image.format == PixelFormat::kRgba ? 4 : 3;
    const size_t rowBytes = size_t{image.width} * pixelBytes;
    std::vector<uint8_t> scanlines((rowBytes + 1) * image.height);
    std::vector<uint8_t> candidate(rowBytes);
    const std::vector<uint8_t> zeros(rowBytes, 0);
    for (size_t y = 0; y < image.height; ++y) {
        const uint8_t* row = image.pixels.data() + y * rowBytes;
        const uint8_t* prior = y == 0 ? zeros.data() : row - rowBytes;
        writeBestRow(row, prior, rowBytes, pixelBytes, candidate, scanlines.data() + y * (rowBytes + 1));
    }
    return scanlines;
}

}  // namespace zelvane::image
