#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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

    // Appends value to entries unless an equal entry is recorded; returns its index.
    uint32_t findOrAppend(std::vector<Vector3>& entries, const Vector3& value) {
        const auto candidate = static_cast<uint32_t>(entries.size());
        const uint32_t index = findOrInsert(entries.data(), value, candidate);
        if (index == candidate) {
            entries.push_back(value);
        }
        return index;
    }

private:
    struct Slot {
        uint32_t index;
        uint32_t hash;
    };
    static constexpr uint32_t kEmpty = UINT32_MAX;

    void rehash(size_t slotCount);

    std::vector<Slot> slots_;
    size_t count_ = 0;
};

}  // namespace zelvane
