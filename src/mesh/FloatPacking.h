// How the store keeps coordinates in floats: a position or normal as three
// floats, a texture coordinate (u, v, 0.0) as u and 1.0 - v. A value is
// packed only when unpacking gives it back bit for bit.
#pragma once

#include "Vector3.h"

namespace zelvane {

struct PositionPacking {
    struct Packed {
        float x, y, z;
    };
    using Full = Vector3;

    static bool pack(const Vector3& value, Packed& packed);
    static Vector3 unpack(const Packed& packed) {
        return {static_cast<double>(packed.x), static_cast<double>(packed.y), static_cast<double>(packed.z)};
    }
    static Full full(const Vector3& value) { return value; }
    static Vector3 unpack(const Full& full) { return full; }
};

// A MAG5 file holds float texture coordinates and the loader turns v into
// 1.0 - v; every float f gives that v back as 1.0 - float(1.0 - v) (true of
// all 2^32 floats), so those always pack. z is always 0.0 and not kept.
struct TexcoordPacking {
    struct Packed {
        float u, oneMinusV;
    };
    struct Full {
        double u, v;
    };

    static bool pack(const Vector3& value, Packed& packed);
    static Vector3 unpack(const Packed& packed) {
        return {static_cast<double>(packed.u), 1.0 - static_cast<double>(packed.oneMinusV), 0.0};
    }
    static Full full(const Vector3& value) { return {value.x, value.y}; }
    static Vector3 unpack(const Full& full) { return {full.u, full.v, 0.0}; }
};

}  // namespace zelvane
