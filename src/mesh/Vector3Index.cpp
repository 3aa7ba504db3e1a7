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

bool hasNaN(const Vector3& v) {
    return std::isnan(v.x) || std::isnan(v.y) || std::isnan(v.z);
}

// Room for count entries at a load of at most 80 percent.
size_t slotCountFor(size_t count) {
    return std::bit_ceil(std::max(kMinimumSlots, count + count / 4 + 1));
}

}  // namespace

// Coordinates are often small integers or short binary fractions, whose
// low bits are all zero: mix every input bit into the bits the table uses.
uint32_t Vector3Index::hashOf(const Vector3& v) {
    uint64_t h = componentBits(v.x) ^ std::rotl(componentBits(v.y), 21) ^ std::rotl(componentBits(v.z), 42);
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return static_cast<uint32_t>(h);
}

void Vector3Index::reserve(size_t entryCount) {
    if (slotCountFor(entryCount) > slots_.size()) {
        rehash(slotCountFor(entryCount));
    }
}

void Vector3Index::rehash(size_t slotCount) {
    LargeVector<Slot> old(slotCount, Slot{kEmpty, 0});
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

uint32_t Vector3Index::findOrInsert(const Vector3* entries, const Vector3& value, uint32_t candidate,
                                    uint32_t hash) {
    if (hasNaN(value)) {
        return candidate;
    }
    if (5 * (count_ + 1) > 4 * slots_.size()) {
        rehash(std::max(kMinimumSlots, 2 * slots_.size()));
    }
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
