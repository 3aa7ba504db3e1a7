#include "ModelFrame.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "ViewConstants.h"

namespace zelvane::picture {

namespace {

// Boxes beyond these magnitudes are scaled by a power of two (exactly) so
// that the radius and its inverse are normal numbers.
constexpr double kLargeMagnitude = 0x1p512;
constexpr double kSmallMagnitude = 0x1p-512;

double largestMagnitude(const Vector3& v) {
    return std::max({std::abs(v.x), std::abs(v.y), std::abs(v.z)});
}

Vector3 scaled(const Vector3& v, double factor) {
    return {v.x * factor, v.y * factor, v.z * factor};
}

double prescaleFor(const Box& box) {
    const double largest = std::max(largestMagnitude(box.low), largestMagnitude(box.high));
    if (largest >= kLargeMagnitude) {
        return kSmallMagnitude;
    }
    return largest < kSmallMagnitude ? kLargeMagnitude : 1.0;
}

// The length of a vector, scaled first so that its squares neither overflow
// nor vanish; 1 for the zero vector.
double lengthOrOne(const Vector3& v) {
    const double largest = largestMagnitude(v);
    if (largest == 0.0) {
        return 1.0;
    }
    const Vector3 unit = scaled(v, 1.0 / largest);
    return largest * std::sqrt(unit.x * unit.x + unit.y * unit.y + unit.z * unit.z);
}

}  // namespace

std::optional<Box> boxOfUsedPositions(const MeshStore& store) {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    Box box{{kInfinity, kInfinity, kInfinity}, {-kInfinity, -kInfinity, -kInfinity}};
    std::vector<bool> used(store.positions.size(), false);
    for (size_t index = 0; index < store.polygons.size(); ++index) {
        const std::array<uint32_t, 4>& vertices = store.polygons.vertices(index);
        for (uint32_t corner = 0; corner < store.polygons.cornerCount(index); ++corner) {
            used[vertices[corner]] = true;
        }
    }
    for (size_t index = 0; index < used.size(); ++index) {
        if (!used[index]) {
            continue;
        }
        const Vector3 p = store.positions[index];
        if ((p.x - p.x) + (p.y - p.y) + (p.z - p.z) == 0.0) {  // all finite: else a NaN
            box.low = {std::min(box.low.x, p.x), std::min(box.low.y, p.y), std::min(box.low.z, p.z)};
            box.high = {std::max(box.high.x, p.x), std::max(box.high.y, p.y), std::max(box.high.z, p.z)};
        }
    }
    return box.low.x <= box.high.x ? std::optional(box) : std::nullopt;
}

ModelFrame::ModelFrame(const Box& box) : prescale_(prescaleFor(box)) {
    const Vector3 low = scaled(box.low, prescale_);
    const Vector3 high = scaled(box.high, prescale_);
    centre_ = {(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
    inverseRadius_ = 1.0 / lengthOrOne({(high.x - low.x) / 2, (high.y - low.y) / 2, (high.z - low.z) / 2});
}

CameraPoint ModelFrame::cameraPointOf(const Vector3& position) const {
    const Vector3 p = scaled(position, prescale_);
    const Direction q{(p.x - centre_.x) * inverseRadius_, (p.y - centre_.y) * inverseRadius_,
                      (p.z - centre_.z) * inverseRadius_};
    return {dotProduct(kCameraRight, q), dotProduct(kCameraUp, q), kEyeDistance - dotProduct(kCameraBack, q)};
}

}  // namespace zelvane::picture
