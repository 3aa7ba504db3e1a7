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
    shapes_.reserve(count);
}

uint8_t PolygonList::layoutOf(const IndexList& indices, uint32_t cornerCount) {
    bool same = true;
    bool run = true;
    bool bytes = indices[0] <= 0xFF;
    for (uint32_t corner = 1; corner < cornerCount; ++corner) {
        same = same && indices[corner] == indices[0];
        run = run && indices[corner] == indices[0] + corner;
        bytes = bytes && indices[corner] <= 0xFF;
    }
    return same ? kSame : run ? kRun : bytes && (cornerCount == 4 || indices[3] == 0) ? kBytes : kList;
}

uint32_t PolygonList::keep(uint8_t layout, const IndexList& indices, LargeVector<IndexList>& lists) {
    if (layout == kBytes) {
        return indices[0] | indices[1] << 8 | indices[2] << 16 | indices[3] << 24;
    }
    if (layout != kList) {
        return indices[0];
    }
    lists.push_back(indices);
    return static_cast<uint32_t>(lists.size() - 1);
}

void PolygonList::push_back(const Polygon& polygon) {
    const uint8_t normalLayout = layoutOf(polygon.normal, polygon.cornerCount);
    const uint8_t texcoordLayout = layoutOf(polygon.texcoord, polygon.cornerCount);
    records_.push_back(Record{polygon.vertex, keep(normalLayout, polygon.normal, normalLists_),
                              keep(texcoordLayout, polygon.texcoord, texcoordLists_), numberOf(polygon.material)});
    shapes_.push_back(static_cast<uint8_t>((polygon.cornerCount == 4 ? kQuad : 0) | normalLayout << kNormalShift |
                                           texcoordLayout << kTexcoordShift));
}

}  // namespace zelvane
