#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "os/LargeAllocator.h"
#include "os/Prefetch.h"
#include "Vector3.h"

namespace zelvane {

// Mixes every bit of a 64-bit value into every bit of the result (the
// finalizer of a well-known 64-bit hash), for keys whose low bits repeat.
inline uint64_t mixBits(uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return h;
}

// A hash of a Vector3 that agrees with its exact equality: -0.0 hashes as
// 0.0. Coordinates are often small integers or short binary fractions, whose
// low bits are all zero, so every input bit is mixed into every output bit.
inline uint64_t hashOf(const Vector3& value) {
    const auto bits = [](double component) { return component == 0.0 ? 0 : std::bit_cast<uint64_t>(component); };
    return mixBits(bits(value.x) ^ std::rotl(bits(value.y), 21) ^ std::rotl(bits(value.z), 42));
}

inline bool hasNaN(const Vector3& value) {
    return std::isnan(value.x) || std::isnan(value.y) || std::isnan(value.z);
}

// A hash index over an array of Vector3 values that the caller owns: it
// finds the entry equal to a value, or records where the value goes. Entries
// equal exactly per component (0.0 equals -0.0); a value with a NaN equals
// nothing and is never recorded. Entries is any array whose operator[] gives
// a Vector3.
//
// A slot is 4 bytes: the entry's index + 1 in the low bits and, in the bits
// the table's size leaves free, some bits of the value's hash, which tell
// most non-matching slots apart without reading the entry. Linear probing,
// at most 80 percent full. The table grows fourfold at a time, but not past
// the size for the count expected, and at once to the size reserve asks for.
template <typename Entries>
class ValueIndex {
public:
    // Room for count entries in all without growing.
    void reserve(size_t count, const Entries& entries) {
        if (count > maxCount_) {
            rehash(slotsFor(count), entries, indexed_);
        }
    }
    // At most count entries in all are expected (but more are taken).
    void expect(size_t count) { expectedSlots_ = slotsFor(count); }

    // Gives the memory back; the next lookup indexes the entries again.
    void release() { *this = ValueIndex(); }

    // The index of an entry of entries[0, candidate) equal to value, if one
    // was recorded; otherwise records candidate as value's index and returns
    // candidate, and the caller stores value there.
    uint32_t findOrInsert(const Entries& entries, const Vector3& value, uint32_t candidate, uint64_t hash) {
        if (hasNaN(value)) {
            return candidate;
        }
        // Entries with a NaN take indices without slots: the table grows with
        // the indices, so that the largest fits the slots' index bits.
        if (candidate >= maxCount_) {
            rehash(grownSlots(), entries, candidate);
        }
        const uint32_t tag = tagOf(hash);
        for (size_t position = positionOf(hash);; position = nextPosition(position)) {
            const uint32_t slot = slots_[position];
            if (slot == 0) {
                slots_[position] = tag | (candidate + 1);
                return candidate;
            }
            if ((slot & ~indexMask_) == tag && entries[(slot & indexMask_) - 1] == value) {
                return (slot & indexMask_) - 1;
            }
        }
    }

    // Appends value to entries unless an equal entry is there; returns its
    // index. hash is hashOf(value).
    template <typename Append>
    uint32_t findOrAppend(const Entries& entries, const Vector3& value, uint64_t hash, Append append) {
        if (indexed_ < entries.size()) {
            rehash(std::max(kMinimumSlots, slots_.size()), entries, entries.size());
        }
        const auto candidate = static_cast<uint32_t>(entries.size());
        const uint32_t index = findOrInsert(entries, value, candidate, hash);
        if (index == candidate) {
            append(value);
            indexed_ = candidate + 1;
        }
        return index;
    }

    // The table's size in bytes.
    size_t bytes() const { return slots_.size() * sizeof(uint32_t); }

    void prefetch(uint64_t hash) const {
        if (!slots_.empty()) {
            prefetchForRead(slots_.data() + positionOf(hash));
        }
    }

private:
    static constexpr size_t kMinimumSlots = 64;
    static constexpr size_t kGrowth = 4;

    static size_t slotsFor(size_t count) { return count + count / 4 + kMinimumSlots; }
    size_t grownSlots() const {
        const size_t grown = std::max(kMinimumSlots, kGrowth * slots_.size());
        return slots_.size() < expectedSlots_ ? std::min(grown, expectedSlots_) : grown;
    }

    size_t positionOf(uint64_t hash) const { return ((hash >> 32) * slots_.size()) >> 32; }
    uint32_t tagOf(uint64_t hash) const { return static_cast<uint32_t>(hash) & ~indexMask_; }

    size_t nextPosition(size_t position) const { return position + 1 < slots_.size() ? position + 1 : 0; }

    // A table of slotCount slots holding entries[0, count), which are
    // distinct: each goes to the first free slot, without comparing. The
    // slots of the entries a little ahead are fetched while placing one.
    void rehash(size_t slotCount, const Entries& entries, size_t count) {
        LargeVector<uint32_t>(slotCount, 0).swap(slots_);
        const unsigned indexBits = static_cast<unsigned>(std::bit_width(slotCount));
        indexMask_ = indexBits >= 32 ? UINT32_MAX : (uint32_t{1} << indexBits) - 1;
        maxCount_ = slotCount - slotCount / 5;
        constexpr size_t kLookahead = 16;
        for (size_t index = 0; index < count; ++index) {
            if (index + kLookahead < count) {
                prefetch(hashOf(entries[index + kLookahead]));
            }
            const Vector3 entry = entries[index];
            if (!hasNaN(entry)) {
                const uint64_t hash = hashOf(entry);
                size_t position = positionOf(hash);
                while (slots_[position] != 0) {
                    position = nextPosition(position);
                }
                slots_[position] = tagOf(hash) | static_cast<uint32_t>(index + 1);
            }
        }
        indexed_ = count;
    }

    LargeVector<uint32_t> slots_;  // 0: empty
    uint32_t indexMask_ = 0;
    size_t maxCount_ = 0;  // the indices below this fit without growing
    size_t expectedSlots_ = 0;
    size_t indexed_ = 0;
};

}  // namespace zelvane
