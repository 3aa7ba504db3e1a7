#include "FinitePositions.h"

#include <cmath>

namespace zelvane {

std::optional<std::string> refuseNonFinitePositions(const MeshStore& store, size_t firstPosition) {
    for (size_t index = firstPosition; index < store.positions.size(); ++index) {
        const Vector3 position = store.positions[index];
        if (!std::isfinite(position.x) || !std::isfinite(position.y) || !std::isfinite(position.z)) {
            return "vertex " + std::to_string(index - firstPosition) + " has a position that is not a finite number";
        }
    }
    return std::nullopt;
}

}  // namespace zelvane
