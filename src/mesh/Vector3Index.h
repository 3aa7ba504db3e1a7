#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <vector>

#include "LargeAllocator.h"
#include "Vector3.h"

namespace zelvane {

// A hash index over an array of Vector3 that the caller owns and only
// appends to. Equality is exact per component: 0.0 equals -0.0, and a value
// with a NaN equals nothing, so it is never recorded. Slots keep the entry's
// index and its hash, so probing and growing rarely touch the entries.
class Vector3Index {
public:
    void reserve(size_t entryCount);

    // The index of the entry equal to value if one was recorded; otherwise
    // records candidate as value's index and returns candidate, and the
    // caller stores value there.
    uint32_t findOrInsert(const Vector3* entries, const Vector3& value, uint32_t candidate) {
        return findOrInsert(entries, value, candidate, hashOf(value));
    }
    // The same with the value's hash computed beforehand, for callers that
    // prefetch the slots of values to come.
    uint32_t findOrInsert(const Vector3* entries, const Vector3& value, uint32_t candidate, uint32_t hash);
    static uint32_t hashOf(const Vector3& value);
    void prefetch(uint32_t hash) const { __builtin_prefetch(slots_.data() + (hash & (slots_.size() - 1))); }

    // Appends value to entries unless an equal entry is recorded; returns its
    // index. Models repeat a few values over and over (texture coordinates,
    // face normals): a small cache of recent values, matched bit for bit,
    // answers most calls before the table is asked.
    uint32_t findOrAppend(LargeVector<Vector3>& entries, const Vector3& value) {
        RecentEntry& recent = recent_[recentSlotOf(value)];
        if (recent.index != kEmpty && std::memcmp(&recent.value, &value, sizeof value) == 0) {
            return recent.index;
        }
        const auto candidate = static_cast<uint32_t>(entries.size());
        const uint32_t index = findOrInsert(entries.data(), value, candidate);
        if (index == candidate) {
            entries.push_back(value);
        }
        if (value == value) {  // a NaN is never equal, not even to itself
            recent = RecentEntry{value, index};
        }
        return index;
    }

private:
    struct Slot {
        uint32_t index;
        uint32_t hash;
    };
    static constexpr uint32_t kEmpty = UINT32_MAX;

    struct RecentEntry {
        Vector3 value;
        uint32_t index = kEmpty;
    };
    static constexpr size_t kRecentCount = 64;
    static size_t recentSlotOf(const Vector3& value) {
        uint64_t bits[3];
        std::memcpy(bits, &value, sizeof bits);
        return ((bits[0] ^ bits[1] * 0x9E3779B97F4A7C15ull ^ bits[2]) * 0xD6E8FEB86659FD93ull) >> 58;
    }

    void rehash(size_t slotCount);

    std::array<RecentEntry, kRecentCount> recent_{};
    LargeVector<Slot> slots_;
    size_t count_ = 0;
};

}  // namespace zelvane
