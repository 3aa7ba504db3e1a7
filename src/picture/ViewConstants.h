// The fixed view and light of every picture (see Picture.h), written as the
// nearest doubles to their exact values: the C libraries of Linux and
// Windows round sines and cosines differently in the last bit, so none is
// computed at run time.
#pragma once

namespace zelvane::picture {

struct Direction {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline double dotProduct(const Direction& a, const Direction& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The camera's axes in model coordinates: right, up, and back (from the
// model's centre towards the eye). Back is (cos 25 sin 40, sin 25,
// cos 25 cos 40); right is (cos 40, 0, -sin 40), level; up is back x right,
// (-sin 25 sin 40, cos 25, -sin 25 cos 40).
inline constexpr Direction kCameraRight{0.766044443118978, 0.0, -0.6427876096865394};
inline constexpr Direction kCameraUp{-0.2716537822741844, 0.9063077870366499, -0.3237443709670646};
inline constexpr Direction kCameraBack{0.5825634160695854, 0.42261826174069944, 0.6942720440148838};

// The eye's distance from the centre in radii of the bounding sphere:
// 1 / sin 15 degrees, so that the sphere fills the 30-degree field.
inline constexpr double kEyeDistance = 3.8637033051562732;
// 1 / tan 15 degrees: the focal length over half the picture's side.
inline constexpr double kFocalLength = 3.732050807568877;
// The near plane's distance from the eye in radii. The sphere lies between
// kEyeDistance - 1 = 2.86 and kEyeDistance + 1 = 4.86.
inline constexpr double kNearDistance = 2.0;

// The light's direction in camera coordinates: 15 degrees above the eye's
// own, (0, sin 15, cos 15).
inline constexpr Direction kLightInCamera{0.0, 0.25881904510252074, 0.9659258262890683};
inline constexpr double kAmbientShare = 0.3;
inline constexpr double kDiffuseShare = 0.7;

}  // namespace zelvane::picture
