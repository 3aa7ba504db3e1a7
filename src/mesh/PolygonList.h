#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "LargeAllocator.h"
#include "Material.h"
#include "Polygon.h"

namespace zelvane {

// The store's polygons in the order they were added, kept compactly: each
// one's index fields and corner count, and the number of its material in a
// table of distinct materials (a model has few). Reading a polygon gives a
// whole Polygon value.
class PolygonList {
public:
    size_t size() const { return records_.size(); }
    void reserve(size_t count);
    void push_back(const Polygon& polygon);
    Polygon operator[](size_t index) const {
        const Record& record = records_[index];
        return Polygon{cornerCounts_[index], record.vertex, record.normal, record.texcoord,
                       materials_[record.material]};
    }

    // The distinct materials, in the order they first occurred, and each
    // polygon's number among them.
    const std::vector<Material>& materials() const { return materials_; }
    uint32_t materialNumber(size_t index) const { return records_[index].material; }
    uint32_t cornerCount(size_t index) const { return cornerCounts_[index]; }
    std::array<uint32_t, 4>& vertex(size_t index) { return records_[index].vertex; }
    // For readers that go through the polygons out of order (by group).
    void prefetch(size_t index) const { __builtin_prefetch(records_.data() + index); }

private:
    struct Record {
        std::array<uint32_t, 4> vertex;
        std::array<uint32_t, 4> normal;
        std::array<uint32_t, 4> texcoord;
        uint32_t material;
    };
    uint32_t numberOf(const Material& material);

    LargeVector<Record> records_;
    LargeVector<uint8_t> cornerCounts_;  // 3 or 4
    std::vector<Material> materials_;
    std::map<Material, uint32_t> materialNumbers_;
    uint32_t lastMaterial_ = 0;  // consecutive polygons mostly share one
};

}  // namespace zelvane
