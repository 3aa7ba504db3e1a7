#include "FloatPacking.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zelvane {
namespace {

bool sameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

// The float nearest to value, where converting is defined: within the
// float range, infinite or NaN.
bool nearestFloat(double value, float& nearest) {
    if (std::isfinite(value) && !(std::fabs(value) <= std::numeric_limits<float>::max())) {
        return false;
    }
    nearest = static_cast<float>(value);
    return true;
}

bool packComponent(double value, float& packed) {
    return nearestFloat(value, packed) && sameBits(static_cast<double>(packed), value);
}

}  // namespace

bool PositionPacking::pack(const Vector3& value, Packed& packed) {
    return packComponent(value.x, packed.x) && packComponent(value.y, packed.y) && packComponent(value.z, packed.z);
}

bool TexcoordPacking::pack(const Vector3& value, Packed& packed) {
    return packComponent(value.x, packed.u) && nearestFloat(1.0 - value.y, packed.oneMinusV) &&
           sameBits(1.0 - static_cast<double>(packed.oneMinusV), value.y);
}

}  // namespace zelvane
