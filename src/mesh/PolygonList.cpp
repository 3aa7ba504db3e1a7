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
        materialUses_.push_back(0);
    }
    lastMaterial_ = entry->second;
    return lastMaterial_;
}

// The index lists are reserved too: address space only, until used.
void PolygonList::reserve(size_t count) {
    records_.reserve(count);
    shapes_.reserve(count);
    normalLists_.reserve(count);
    texcoordLists_.reserve(count);
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

// Sets the record's normal field; returns the normal layout's shape bits.
uint8_t PolygonList::keepNormals(Record& record, const IndexList& normals, uint32_t cornerCount) {
    const uint8_t layout = layoutOf(normals, cornerCount);
    record.normal = keep(layout, normals, normalLists_);
    return static_cast<uint8_t>(layout << kNormalShift);
}

void PolygonList::push_back(const Polygon& polygon) {
    const uint8_t texcoordLayout = layoutOf(polygon.texcoord, polygon.cornerCount);
    Record record{polygon.vertex, 0, keep(texcoordLayout, polygon.texcoord, texcoordLists_),
                  numberOf(polygon.material)};
    uint8_t shape = static_cast<uint8_t>((polygon.cornerCount == 4 ? kQuad : 0) | texcoordLayout << kTexcoordShift);
    shape |= polygon.normal == polygon.vertex ? kNormalsOfVertices
                                              : keepNormals(record, polygon.normal, polygon.cornerCount);
    records_.push_back(record);
    shapes_.push_back(shape);
    ++materialUses_[record.material];
}

void PolygonList::renumberVertices(const LargeVector<uint32_t>& newIndex) {
    if (newIndex.empty()) {
        return;
    }
    for (size_t index = 0; index < records_.size(); ++index) {
        Record& record = records_[index];
        const IndexList old = record.vertex;
        const uint32_t cornerCount = this->cornerCount(index);
        for (uint32_t corner = 0; corner < cornerCount; ++corner) {
            if (old[corner] < newIndex.size()) {
                record.vertex[corner] = newIndex[old[corner]];
            }
        }
        // Normals that were the vertex indices keep the old ones.
        if ((shapes_[index] & kNormalsOfVertices) != 0 && record.vertex != old) {
            shapes_[index] = static_cast<uint8_t>((shapes_[index] & ~kNormalsOfVertices & ~(kLayoutBits << kNormalShift)) |
                                                  keepNormals(record, old, cornerCount));
        }
    }
}

}  // namespace zelvane
