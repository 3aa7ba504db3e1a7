#include "LargeAllocator.h"

#include <new>

#ifdef __linux__
#include <sys/mman.h>

#include <cstdint>
#endif

namespace zelvane {
namespace {

#ifdef __linux__
constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kLargeBlock = size_t{256} << 10;

size_t roundUpToHugePages(size_t bytes) {
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

// A mapping of whole 2 MiB pages, aligned to 2 MiB so that every one of them
// can be a huge page.
void* mapHugePages(size_t bytes) {
    const size_t size = roundUpToHugePages(bytes);
    if (size < bytes) {
        throw std::bad_alloc();
    }
    const size_t spare = kHugePage - 4096;  // mmap gives at least 4 KiB alignment
    void* mapping = mmap(nullptr, size + spare, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto begin = reinterpret_cast<uintptr_t>(mapping);
    const uintptr_t aligned = (begin + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > begin) {
        munmap(mapping, aligned - begin);
    }
    if (const size_t tail = begin + size + spare - (aligned + size); tail > 0) {
        munmap(reinterpret_cast<void*>(aligned + size), tail);
    }
    madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);  // a hint: fine if refused
    return reinterpret_cast<void*>(aligned);
}
#endif

}  // namespace

void* allocateLarge(size_t bytes) {
#ifdef __linux__
    if (bytes >= kLargeBlock) {
        return mapHugePages(bytes);
    }
#endif
    return ::operator new(bytes);
}

void releaseLarge(void* data, [[maybe_unused]] size_t bytes) {
#ifdef __linux__
    if (bytes >= kLargeBlock) {
        munmap(data, roundUpToHugePages(bytes));
        return;
    }
#endif
    ::operator delete(data);
}

}  // namespace zelvane
