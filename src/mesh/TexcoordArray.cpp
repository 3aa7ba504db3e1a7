#include "TexcoordArray.h"

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

}  // namespace

// Every float f gives back v = 1.0 - f as 1.0 - float(1.0 - v), bit for bit
// (checked over all 2^32 floats), so MAG5 texture coordinates always fit.
bool TexcoordArray::narrowed(double u, double v, Narrow& narrow) {
    return nearestFloat(u, narrow.u) && sameBits(static_cast<double>(narrow.u), u) &&
           nearestFloat(1.0 - v, narrow.oneMinusV) && sameBits(1.0 - static_cast<double>(narrow.oneMinusV), v);
}

void TexcoordArray::appendWide(double u, double v) {
    if (!wide_) {
        wideEntries_.reserve(narrowEntries_.capacity());
        for (size_t index = 0; index < narrowEntries_.size(); ++index) {
            const Vector3 entry = (*this)[index];
            wideEntries_.push_back({entry.x, entry.y});
        }
        LargeVector<Narrow>().swap(narrowEntries_);
        wide_ = true;
    }
    wideEntries_.push_back({u, v});
}

void TexcoordArray::reserve(size_t count) {
    if (wide_) {
        wideEntries_.reserve(count);
    } else {
        narrowEntries_.reserve(count);
    }
}

}  // namespace zelvane
