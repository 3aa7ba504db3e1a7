// Where a model sits in the picture: its box, and the camera coordinates of
// its positions.
#pragma once

#include <optional>

#include "mesh/MeshStore.h"

namespace zelvane::picture {

struct Box {
    Vector3 low;
    Vector3 high;
};

// The box of the finite positions that the store's polygons use; nullopt
// when they use none.
std::optional<Box> boxOfUsedPositions(const MeshStore& store);

// A point in camera coordinates, in radii of the model's bounding sphere:
// x to the right, y up, and depth, the distance in front of the eye along
// the line of sight.
struct CameraPoint {
    double x = 0.0;
    double y = 0.0;
    double depth = 0.0;
};

// The camera coordinates of a model's positions. A position is first taken
// relative to the box's centre and radius, so no square or product of model
// coordinates is formed: every result is finite for a finite position, and
// a model drawn 2^k times larger or shifted by a sum its coordinates hold
// exactly gives the same camera coordinates.
class ModelFrame {
public:
    explicit ModelFrame(const Box& box);

    CameraPoint cameraPointOf(const Vector3& position) const;

private:
    double prescale_ = 1.0;  // a power of two that brings the box near 1
    Vector3 centre_;          // prescaled
    double inverseRadius_ = 1.0;
};

}  // namespace zelvane::picture
