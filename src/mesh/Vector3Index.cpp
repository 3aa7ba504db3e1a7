#include "Vector3Index.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zelvane {
namespace {

constexpr size_t kMinimumSlots = 64;

uint64_t componentBits(double value) {
    return value == 0.0 ? 0 : std::bit_cast<uint64_t>(value);  // -0.0 hashes as 0.0
}

uint32_t hashOf(const Vector3& v) {
    uint64_t h = componentBits(v.x) * 0x9E3779B97F4A7C15ull;
    h = (h ^ (h >> 29) ^ componentBits(v.y)) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ (h >> 31) ^ componentBits(v.z)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>(h >> 32);
}

bool hasNaN(const Vector3& v) {
    return std::isnan(v.x) || std::isnan(v.y) || std::isnan(v.z);
}

// Room for count entries at a load of at most 70 percent.
size_t slotCountFor(size_t count) {
    return std::bit_ceil(std::max(kMinimumSlots, count + count / 2 + 1));
}

}  // namespace

void Vector3Index::reserve(size_t entryCount) {
    if (slotCountFor(entryCount) > slots_.size()) {
        rehash(slotCountFor(entryCount));
    }
}

void Vector3Index::rehash(size_t slotCount) {
    std::vector<Slot> old(slotCount, Slot{kEmpty, 0});
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.index == kEmpty) {
            continue;
        }
        size_t position = slot.hash & mask;
        while (slots_[position].index != kEmpty) {
            position = (position + 1) & mask;
        }
        slots_[position] = slot;
    }
}

uint32_t Vector3Index::findOrInsert(const Vector3* entries, const Vector3& value, uint32_t candidate) {
    if (hasNaN(value)) {
        return candidate;
    }
    if (10 * (count_ + 1) > 7 * slots_.size()) {
        rehash(std::max(kMinimumSlots, 2 * slots_.size()));
    }
    const uint32_t hash = hashOf(value);
    const size_t mask = slots_.size() - 1;
    for (size_t position = hash & mask;; position = (position + 1) & mask) {
        Slot& slot = slots_[position];
        if (slot.index == kEmpty) {
            slot = Slot{candidate, hash};
            ++count_;
            return candidate;
        }
        if (slot.hash == hash && entries[slot.index] == value) {
            return slot.index;
        }
    }
}

}  // namespace zelvane
