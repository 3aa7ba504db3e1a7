#include "ScreenMapping.h"

#include <algorithm>
#include <cmath>

namespace zelvane::picture {

namespace {

// The guard band: screen coordinates stay within +-2^24, 2^10 pictures of
// the largest side away.
constexpr double kGuardBand = 0x1p24;

int32_t toFixedPoint(double coordinate) {
    return static_cast<int32_t>(std::floor(std::clamp(coordinate, -kGuardBand, kGuardBand) + 0.5));
}

}  // namespace

ScreenMapping::ScreenMapping(uint32_t samplesPerSide)
    : centre_(static_cast<double>(samplesPerSide) * static_cast<double>(kSubsamples) / 2),
      scale_(centre_ * kFocalLength),
      inverseScale_(1.0 / scale_) {}

ScreenPoint ScreenMapping::screenPointOf(const CameraPoint& point) const {
    const double inverseDepth = 1.0 / point.depth;
    return {toFixedPoint(centre_ + point.x * inverseDepth * scale_),
            toFixedPoint(centre_ - point.y * inverseDepth * scale_)};
}

}  // namespace zelvane::picture
