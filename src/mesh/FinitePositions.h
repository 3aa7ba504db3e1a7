#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "MeshStore.h"

namespace zelvane {

// For formats that hold only finite numbers: why the positions from
// firstPosition on cannot be written (the first that is not a finite
// number, counted from firstPosition), or nothing.
std::optional<std::string> refuseNonFinitePositions(const MeshStore& store, size_t firstPosition);

}  // namespace zelvane
