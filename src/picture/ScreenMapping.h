// From camera coordinates to the picture's samples, in fixed point.
#pragma once

#include <cstdint>

#include "ModelFrame.h"
#include "ViewConstants.h"

namespace zelvane::picture {

// Screen coordinates count 1/256 of a sample, from the picture's top left
// corner; sample (column, row) has its centre at (256 column + 128,
// 256 row + 128).
inline constexpr int32_t kSubsampleBits = 8;
inline constexpr int64_t kSubsamples = int64_t{1} << kSubsampleBits;

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

class ScreenMapping {
public:
    explicit ScreenMapping(uint32_t samplesPerSide);

    // The point's place on the screen; depth must be at least kNearDistance.
    // Coordinates are held within a guard band around the picture, which
    // keeps every product of the edge functions within 64 bits; no point of
    // the model's bounding sphere reaches it.
    ScreenPoint screenPointOf(const CameraPoint& point) const;
    // The direction from the surface seen at a sample towards the eye, in
    // camera coordinates (x right, y up, z towards the eye), not unit length.
    Direction towardsEye(uint32_t column, uint32_t row) const {
        const double x = static_cast<double>(int64_t{column} * kSubsamples + kSubsamples / 2);
        const double y = static_cast<double>(int64_t{row} * kSubsamples + kSubsamples / 2);
        return {(centre_ - x) * inverseScale_, (y - centre_) * inverseScale_, 1.0};
    }

private:
    double centre_;        // the picture's centre in screen coordinates
    double scale_;         // screen units per unit of x / depth
    double inverseScale_;
};

}  // namespace zelvane::picture
