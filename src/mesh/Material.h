#pragma once

#include <array>
#include <compare>
#include <cstdint>

namespace zelvane {

// Texture 0 is untextured; colour channels 0-2 are red, green, blue and
// channel 3 is carried along and takes part in comparisons.
struct Material {
    uint32_t texture = 0;
    std::array<double, 4> colour{};
};

// Material order: texture, then colour channels 0 to 3, the first difference
// deciding. Channels compare numerically (0.0 and -0.0 are equal); NaNs, which
// no model file can produce, sort after every number so the order stays total.
inline std::weak_ordering operator<=>(const Material& a, const Material& b) {
    if (auto order = a.texture <=> b.texture; order != 0) {
        return order;
    }
    for (size_t channel = 0; channel < a.colour.size(); ++channel) {
        if (auto order = std::weak_order(a.colour[channel], b.colour[channel]); order != 0) {
            return order;
        }
    }
    return std::weak_ordering::equivalent;
}

inline bool operator==(const Material& a, const Material& b) {
    return (a <=> b) == 0;
}

}  // namespace zelvane
