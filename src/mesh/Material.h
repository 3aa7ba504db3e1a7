#pragma once

#include <array>
#include <compare>
#include <cstdint>

namespace zelvane {

// The three special texture numbers. A model file numbers its textures from
// 0 and gives -1 to an untextured polygon; the store numbers them from 1 and
// gives 0 to an untextured polygon, and a polygon whose file texture number
// names no texture of its file is textured without an image.
inline constexpr uint32_t kFileTextureNone = 0xFFFFFFFF;  // the file's -1
inline constexpr uint32_t kTextureNone = 0;
inline constexpr uint32_t kTextureMissing = 0xFFFFFFFF;

// A store texture number and a colour: channels 0-2 are red, green, blue and
// channel 3 is carried along and takes part in comparisons.
struct Material {
    uint32_t texture = kTextureNone;
    std::array<double, 4> colour{};

    bool textured() const { return texture != kTextureNone; }
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
