// Every position of the store on the screen, projected once for all the
// corners that share it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ModelFrame.h"
#include "ScreenMapping.h"
#include "mesh/MeshStore.h"
#include "os/LargeAllocator.h"

namespace zelvane::picture {

// x marks the positions that were not projected, below every projected x
// (which keeps within the guard band): one that is not finite (its
// triangles are left out), and one nearer than the near plane (its
// triangles are clipped first).
inline constexpr int32_t kNotFinite = INT32_MIN;
inline constexpr int32_t kBeforeNearPlane = INT32_MIN + 1;

// The screen points of the store's positions in [first, end), stored at
// their indices in points.
void projectPositions(const MeshStore& store, const ModelFrame& frame, const ScreenMapping& mapping, size_t first,
                      size_t end, LargeVector<ScreenPoint>& points);

// The camera coordinates of a position, or nullopt when it has no finite
// ones.
std::optional<CameraPoint> finiteCameraPoint(const MeshStore& store, const ModelFrame& frame, uint32_t position);

}  // namespace zelvane::picture
