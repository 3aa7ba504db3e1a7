#include <vector>

#include "MeshStore.h"

namespace zelvane {

void MeshStore::groupByMaterial() {
    groups.clear();  // grouping again gives the same groups, not every polygon twice
    const std::vector<Material>& materials = polygons.materials();
    std::vector<GroupPolygons*> groupOfMaterial;
    for (size_t number = 0; number < materials.size(); ++number) {
        GroupPolygons& group = groups[materials[number]];
        group.reserve(polygons.materialUses()[number]);
        groupOfMaterial.push_back(&group);
    }
    for (uint32_t index = 0; index < polygons.size(); ++index) {
        groupOfMaterial[polygons.materialNumber(index)]->push_back(index);
    }
}

}  // namespace zelvane
