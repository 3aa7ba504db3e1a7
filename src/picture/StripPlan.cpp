#include "StripPlan.h"

#include <algorithm>

#include "SampleStrip.h"

namespace zelvane::picture {

namespace {

// The samples of a strip take about this much memory (colour and depth).
constexpr uint64_t kStripBytes = 256 * 1024;
constexpr uint64_t kBytesPerSample = sizeof(SampleColour) + sizeof(float);
// Visits of polygons, over all strips, that the strips may cost.
constexpr uint64_t kPolygonVisits = 1 << 20;

}  // namespace

StripPlan::StripPlan(uint32_t pictureSide, size_t polygons, unsigned threads) : side_(pictureSide) {
    const uint64_t samples = uint64_t{pictureSide} * pictureSide * kSamplesPerPixelSide * kSamplesPerPixelSide;
    const uint64_t forCache = (samples * kBytesPerSample + kStripBytes - 1) / kStripBytes;
    const uint64_t forVisits = std::max<uint64_t>(kPolygonVisits / std::max<uint64_t>(polygons, 1), 1);
    count_ = static_cast<uint32_t>(std::clamp<uint64_t>(std::min(forCache, forVisits), threads, pictureSide));
}

}  // namespace zelvane::picture
