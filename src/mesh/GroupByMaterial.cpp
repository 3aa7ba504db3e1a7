#include <vector>

#include "MeshStore.h"

namespace zelvane {

void MeshStore::groupByMaterial() {
    groups.clear();  // grouping again gives the same groups, not every polygon twice
    std::vector<GroupPolygons*> groupOfMaterial;
    for (const Material& material : polygons.materials()) {
        groupOfMaterial.push_back(&groups[material]);
    }
    for (uint32_t index = 0; index < polygons.size(); ++index) {
        groupOfMaterial[polygons.materialNumber(index)]->push_back(index);
    }
}

}  // namespace zelvane
