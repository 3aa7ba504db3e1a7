#pragma once

#include <cstddef>
#include <cstdint>

#include "os/LargeAllocator.h"
#include "mesh/ValueIndex.h"

namespace zelvane {

// A corner of a store polygon by its store indices; texcoord is kNoTexcoord
// for a corner without texture coordinates. The store holds every value
// once, so equal keys mean equal values.
struct CornerKey {
    static constexpr uint32_t kNoTexcoord = UINT32_MAX;

    uint32_t position = 0;
    uint32_t normal = 0;
    uint32_t texcoord = kNoTexcoord;
};

inline bool operator==(const CornerKey& a, const CornerKey& b) {
    return a.position == b.position && a.normal == b.normal && a.texcoord == b.texcoord;
}

// The glTF vertex of every distinct corner key seen so far. The keys of a
// position are chained from it, the latest first: a position has few
// (about two in a terrain of shared vertices, one in a smooth mesh), and
// the latest is the likeliest to come again. Once a position has
// kLongestChain keys, its further keys go to a hash table (4-byte slots,
// linear probing, at most 70 percent full), so that no lookup walks far,
// whatever the model.
class CornerIndex {
public:
    // Room for up to maxEntries keys: memory that is set aside but never
    // written costs nothing.
    CornerIndex(size_t positionCount, size_t maxEntries) : chainAt_(positionCount, kNone) {
        entries_.reserve(maxEntries);
    }

    // The vertex recorded for key, or, when there is none, records and
    // returns candidate.
    uint32_t findOrAdd(const CornerKey& key, uint32_t candidate) {
        size_t length = 0;
        for (uint32_t entry = chainAt_[key.position]; entry != kNone; entry = entries_[entry].next, ++length) {
            if (entries_[entry].key == key) {
                return entries_[entry].vertex;
            }
        }
        if (length < kLongestChain) {
            entries_.push_back({key, candidate, chainAt_[key.position]});
            chainAt_[key.position] = static_cast<uint32_t>(entries_.size() - 1);
            return candidate;
        }
        return findOrAddInTable(key, candidate);
    }

private:
    static constexpr uint32_t kNone = UINT32_MAX;
    static constexpr size_t kLongestChain = 8;
    static constexpr size_t kMinimumSlots = 1024;

    struct Entry {
        CornerKey key;
        uint32_t vertex;
        uint32_t next;  // the position's entry before, or kNone; unused in the table
    };

    static uint64_t hashOf(const CornerKey& key) {
        return mixBits((uint64_t{key.position} << 32 | key.normal) ^ (uint64_t{key.texcoord} * 0x9E3779B97F4A7C15ull));
    }
    size_t slotOf(const CornerKey& key) const { return static_cast<size_t>(hashOf(key)) & mask_; }

    uint32_t findOrAddInTable(const CornerKey& key, uint32_t candidate) {
        if (tableEntries_ >= maxTableEntries_) {
            growTable();
        }
        size_t slot = slotOf(key);
        for (; slots_[slot] != 0; slot = (slot + 1) & mask_) {
            const Entry& entry = entries_[slots_[slot] - 1];
            if (entry.key == key) {
                return entry.vertex;
            }
        }
        entries_.push_back({key, candidate, kNone});
        slots_[slot] = static_cast<uint32_t>(entries_.size());
        ++tableEntries_;
        return candidate;
    }

    // Twice the slots (or the first ones), every entry of the table placed again.
    void growTable() {
        LargeVector<uint32_t> old(slots_.empty() ? kMinimumSlots : 2 * slots_.size(), 0);
        old.swap(slots_);
        mask_ = slots_.size() - 1;
        maxTableEntries_ = slots_.size() / 10 * 7;
        for (const uint32_t slot : old) {
            if (slot != 0) {
                size_t place = slotOf(entries_[slot - 1].key);
                while (slots_[place] != 0) {
                    place = (place + 1) & mask_;
                }
                slots_[place] = slot;
            }
        }
    }

    LargeVector<Entry> entries_;
    LargeVector<uint32_t> chainAt_;  // per position: its latest chained entry, or kNone
    LargeVector<uint32_t> slots_;    // entry index + 1; 0 is free
    size_t mask_ = 0;
    size_t tableEntries_ = 0;
    size_t maxTableEntries_ = 0;
};

}  // namespace zelvane
