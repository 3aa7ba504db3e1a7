#include "ProjectedPositions.h"

#include <cmath>

namespace zelvane::picture {

namespace {

ScreenPoint screenPointOf(const MeshStore& store, const ModelFrame& frame, const ScreenMapping& mapping,
                          uint32_t position) {
    const std::optional<CameraPoint> point = finiteCameraPoint(store, frame, position);
    if (!point) {
        return {kNotFinite, 0};
    }
    if (!(point->depth >= kNearDistance)) {
        return {kBeforeNearPlane, 0};
    }
    return mapping.screenPointOf(*point);
}

}  // namespace

void projectPositions(const MeshStore& store, const ModelFrame& frame, const ScreenMapping& mapping, size_t first,
                      size_t end, LargeVector<ScreenPoint>& points) {
    for (size_t position = first; position < end; ++position) {
        points[position] = screenPointOf(store, frame, mapping, static_cast<uint32_t>(position));
    }
}

std::optional<CameraPoint> finiteCameraPoint(const MeshStore& store, const ModelFrame& frame, uint32_t position) {
    const CameraPoint point = frame.cameraPointOf(store.positions[position]);
    if (std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.depth)) {
        return point;
    }
    return std::nullopt;
}

}  // namespace zelvane::picture
