#include "MeshStore.h"

namespace zelvane {

void MeshStore::groupByMaterial() {
    for (uint32_t index = 0; index < polygons.size(); ++index) {
        groups[polygons[index].material].push_back(index);
    }
}

}  // namespace zelvane
