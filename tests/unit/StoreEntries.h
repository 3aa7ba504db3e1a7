#pragma once

#include <vector>

#include "mesh/Vector3.h"

namespace zelvane {

// The entries of one of the store's arrays as a plain vector, to compare.
template <typename Array>
std::vector<Vector3> entriesOf(const Array& array) {
    std::vector<Vector3> entries;
    for (size_t index = 0; index < array.size(); ++index) {
        entries.push_back(array[index]);
    }
    return entries;
}

}  // namespace zelvane
