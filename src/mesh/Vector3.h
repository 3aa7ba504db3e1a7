#pragma once

namespace zelvane {

// A position, a normal, or a texture coordinate stored as (u, v, 0.0).
struct Vector3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Exact comparison: 0.0 equals -0.0, and a NaN component equals nothing.
inline bool operator==(const Vector3& a, const Vector3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

}  // namespace zelvane
