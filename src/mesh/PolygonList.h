#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "os/LargeAllocator.h"
#include "Material.h"
#include "Polygon.h"
#include "os/Prefault.h"
#include "os/Prefetch.h"

namespace zelvane {

// The store's polygons in the order they were added, kept compactly. The
// normal indices of a polygon, and likewise its texture coordinate indices,
// are mostly one index for every corner (a flat-shaded face, an untextured
// polygon), a run of consecutive indices (texture coordinates of its own) or
// four indices below 256 (a model with few distinct values): then the field
// takes 4 bytes, and only other fields a list of four. Normal indices equal
// to the vertex indices (a smooth mesh with a normal of its own at every
// vertex) take nothing. The material is a number in a table of the distinct
// materials (a model has few). Reading a polygon gives a whole Polygon
// value, whose triangle slots beyond the third are 0.
class PolygonList {
public:
    size_t size() const { return records_.size(); }
    void reserve(size_t count);
    // Where the next count polygons go, once reserved (their index lists aside).
    std::vector<MemoryRegion> spaceFor(size_t count) const {
        return {{records_.data() + records_.size(), count * sizeof(Record)},
                {shapes_.data() + shapes_.size(), count * sizeof(uint8_t)}};
    }
    // Appends a triangle or quad (cornerCount 3 or 4).
    void push_back(const Polygon& polygon);
    Polygon operator[](size_t index) const {
        const Record& record = records_[index];
        const uint8_t shape = shapes_[index];
        const uint32_t cornerCount = (shape & kQuad) != 0 ? 4 : 3;
        return Polygon{cornerCount, record.vertex,
                       (shape & kNormalsOfVertices) != 0
                           ? record.vertex
                           : expand(shape >> kNormalShift, record.normal, cornerCount, normalLists_),
                       expand(shape >> kTexcoordShift, record.texcoord, cornerCount, texcoordLists_),
                       materials_[record.material]};
    }

    // The distinct materials, in the order they first occurred, and each
    // polygon's number among them.
    const std::vector<Material>& materials() const { return materials_; }
    // How many polygons have each material.
    const std::vector<size_t>& materialUses() const { return materialUses_; }
    uint32_t materialNumber(size_t index) const { return records_[index].material; }
    uint32_t cornerCount(size_t index) const { return (shapes_[index] & kQuad) != 0 ? 4 : 3; }
    // A polygon's vertex indices alone, for readers that need no more of most
    // polygons (a triangle's fourth is 0).
    const std::array<uint32_t, 4>& vertices(size_t index) const { return records_[index].vertex; }
    // Rewrites every vertex index that newIndex covers.
    void renumberVertices(const LargeVector<uint32_t>& newIndex);
    // For readers that go through the polygons out of order (by group).
    void prefetch(size_t index) const { prefetchForRead(records_.data() + index); }

private:
    using IndexList = std::array<uint32_t, 4>;
    struct Record {
        std::array<uint32_t, 4> vertex;
        uint32_t normal;    // by the field's layout: the index, the first of the run, the four bytes, or the list's number
        uint32_t texcoord;
        uint32_t material;  // number in materials_
    };
    // How an index field is kept, two bits of a polygon's shape.
    static constexpr uint8_t kSame = 0;   // one index for every corner
    static constexpr uint8_t kRun = 1;    // index, index + 1, ...
    static constexpr uint8_t kBytes = 2;  // corner k's index in byte k
    static constexpr uint8_t kList = 3;   // a list of its own
    static constexpr uint8_t kLayoutBits = 3;
    static constexpr uint8_t kQuad = 1;
    static constexpr unsigned kNormalShift = 1;
    static constexpr unsigned kTexcoordShift = 3;
    static constexpr uint8_t kNormalsOfVertices = 1 << 5;  // the normal indices are the vertex indices

    static IndexList expand(unsigned layout, uint32_t value, uint32_t cornerCount,
                            const LargeVector<IndexList>& lists) {
        switch (layout & kLayoutBits) {
            case kSame:
                return {value, value, value, cornerCount == 4 ? value : 0};
            case kRun:
                return {value, value + 1, value + 2, cornerCount == 4 ? value + 3 : 0};
            case kBytes:
                return {value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF, value >> 24};
            default:
                return lists[value];
        }
    }
    static uint8_t layoutOf(const IndexList& indices, uint32_t cornerCount);
    static uint32_t keep(uint8_t layout, const IndexList& indices, LargeVector<IndexList>& lists);
    uint8_t keepNormals(Record& record, const IndexList& normals, uint32_t cornerCount);
    uint32_t numberOf(const Material& material);

    LargeVector<Record> records_;
    LargeVector<uint8_t> shapes_;  // kQuad and the two fields' layouts
    LargeVector<IndexList> normalLists_;
    LargeVector<IndexList> texcoordLists_;
    std::vector<Material> materials_;
    std::vector<size_t> materialUses_;
    std::map<Material, uint32_t> materialNumbers_;
    uint32_t lastMaterial_ = 0;  // consecutive polygons mostly share one
};

}  // namespace zelvane
