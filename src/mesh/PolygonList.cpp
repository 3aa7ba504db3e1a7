#include "PolygonList.h"

#include <cstring>

namespace zelvane {

uint32_t PolygonList::numberOf(const Material& material) {
    if (!materials_.empty()) {
        const Material& last = materials_[lastMaterial_];
        if (last.texture == material.texture &&
            std::memcmp(last.colour.data(), material.colour.data(), sizeof material.colour) == 0) {
            return lastMaterial_;  // the same bits: certainly the same material
        }
    }
    auto [entry, inserted] = materialNumbers_.try_emplace(material, static_cast<uint32_t>(materials_.size()));
    if (inserted) {
        materials_.push_back(material);
    }
    lastMaterial_ = entry->second;
    return lastMaterial_;
}

void PolygonList::reserve(size_t count) {
    records_.reserve(count);
    cornerCounts_.reserve(count);
}

void PolygonList::push_back(const Polygon& polygon) {
    records_.push_back(Record{polygon.vertex, polygon.normal, polygon.texcoord, numberOf(polygon.material)});
    cornerCounts_.push_back(static_cast<uint8_t>(polygon.cornerCount));
}

}  // namespace zelvane
