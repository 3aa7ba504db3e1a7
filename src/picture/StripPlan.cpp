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
// The samples of whole pictures, over all threads, that sharing the polygons
// may take (64 MiB: two threads up to 1024 x 1024 pixels).
constexpr uint64_t kSharedPicturesBytes = 64 << 20;
// Polygons per sample from which sharing them is the quicker: measured at
// 512 x 512 on two threads, the same at 250,000 polygons, a sixth quicker at
// 500,000 and 1,000,000.
constexpr uint64_t kSamplesPerSharedPolygon = 4;

}  // namespace

StripPlan::StripPlan(uint32_t pictureSide, size_t polygons, unsigned threads) : side_(pictureSide) {
    const uint64_t samples = uint64_t{pictureSide} * pictureSide * kSamplesPerPixelSide * kSamplesPerPixelSide;
    const uint64_t forCache = (samples * kBytesPerSample + kStripBytes - 1) / kStripBytes;
    const uint64_t forVisits = std::max<uint64_t>(kPolygonVisits / std::max<uint64_t>(polygons, 1), 1);
    count_ = static_cast<uint32_t>(std::clamp<uint64_t>(std::min(forCache, forVisits), threads, pictureSide));
    sharesPolygons_ = threads > 1 && samples * kBytesPerSample * threads <= kSharedPicturesBytes &&
                      polygons * kSamplesPerSharedPolygon >= samples;
}

}  // namespace zelvane::picture
