#pragma once

#include <cstddef>

#include "FloatPacking.h"
#include "os/LargeAllocator.h"
#include "os/Prefault.h"
#include "Vector3.h"

namespace zelvane {

// An array of Vector3 values that keeps its entries packed in floats while
// every entry can be (as in every MAG5 file), and moves them all to doubles
// at the first one that cannot, so that every value is kept exactly.
// Packing says how: PositionPacking or TexcoordPacking.
template <typename Packing>
class CompactArray {
public:
    using Packed = typename Packing::Packed;
    using Full = typename Packing::Full;

    size_t size() const { return full_ ? fullEntries_.size() : packedEntries_.size(); }
    Vector3 operator[](size_t index) const {
        return full_ ? Packing::unpack(fullEntries_[index]) : Packing::unpack(packedEntries_[index]);
    }

    void push_back(const Vector3& value) {
        Packed packed;
        if (!full_ && Packing::pack(value, packed)) {
            packedEntries_.push_back(packed);
            return;
        }
        if (!full_) {
            moveToFull();
        }
        fullEntries_.push_back(Packing::full(value));
    }
    void reserve(size_t count) {
        if (full_) {
            fullEntries_.reserve(count);
        } else {
            packedEntries_.reserve(count);
        }
    }
    // Where the next count entries go, once reserved.
    MemoryRegion spaceFor(size_t count) const {
        return full_ ? MemoryRegion{fullEntries_.data() + fullEntries_.size(), count * sizeof(Full)}
                     : MemoryRegion{packedEntries_.data() + packedEntries_.size(), count * sizeof(Packed)};
    }
    // Copies entry from over entry to, as they are kept.
    void copyEntry(size_t from, size_t to) {
        if (full_) {
            fullEntries_[to] = fullEntries_[from];
        } else {
            packedEntries_[to] = packedEntries_[from];
        }
    }
    // Keeps the first count entries.
    void truncate(size_t count) {
        if (full_) {
            fullEntries_.resize(count);
        } else {
            packedEntries_.resize(count);
        }
    }

private:
    void moveToFull() {
        fullEntries_.reserve(packedEntries_.capacity());
        for (const Packed& packed : packedEntries_) {
            fullEntries_.push_back(Packing::full(Packing::unpack(packed)));
        }
        LargeVector<Packed>().swap(packedEntries_);
        full_ = true;
    }

    bool full_ = false;
    LargeVector<Packed> packedEntries_;
    LargeVector<Full> fullEntries_;
};

using Vector3Array = CompactArray<PositionPacking>;
using TexcoordArray = CompactArray<TexcoordPacking>;

}  // namespace zelvane
