#pragma once

#include <cstddef>
#include <vector>

namespace zelvane {

// Memory for the large arrays of a model. Where the system offers them
// (Linux), blocks of 256 KiB or more come in 2 MiB pages, so that filling
// a large array takes one page fault per 2 MiB instead of one per 4 KiB;
// page faults are most of the cost of filling fresh memory. Smaller blocks
// come from the ordinary heap. Throws std::bad_alloc when out of memory.
void* allocateLarge(size_t bytes);
void releaseLarge(void* data, size_t bytes);

template <typename T>
struct LargeAllocator {
    using value_type = T;

    LargeAllocator() = default;
    template <typename U>
    explicit LargeAllocator(const LargeAllocator<U>&) {}

    T* allocate(size_t count) { return static_cast<T*>(allocateLarge(count * sizeof(T))); }
    void deallocate(T* data, size_t count) { releaseLarge(data, count * sizeof(T)); }

    friend bool operator==(const LargeAllocator&, const LargeAllocator&) { return true; }
};

template <typename T>
using LargeVector = std::vector<T, LargeAllocator<T>>;

}  // namespace zelvane
