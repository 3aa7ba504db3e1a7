#include "Prefault.h"

#include "Threads.h"

#include <system_error>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>

#include <cstdint>
#endif

namespace zelvane {
namespace {

// Maps the whole pages of a region, 2 MiB at a time so that the filling
// thread can overtake. Stops at the first refusal (MADV_POPULATE_WRITE
// needs Linux 5.14).
void mapRegions([[maybe_unused]] const std::vector<MemoryRegion>& regions) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    constexpr uintptr_t kPage = 4096;
    constexpr uintptr_t kStep = uintptr_t{2} << 20;
    for (const MemoryRegion& region : regions) {
        const auto start = reinterpret_cast<uintptr_t>(region.data);
        const uintptr_t end = (start + region.bytes) & ~(kPage - 1);
        for (uintptr_t begin = (start + kPage - 1) & ~(kPage - 1); begin < end; begin += kStep) {
            const uintptr_t stepEnd = end - begin < kStep ? end : begin + kStep;
            if (madvise(reinterpret_cast<void*>(begin), stepEnd - begin, MADV_POPULATE_WRITE) != 0) {
                return;
            }
        }
    }
#endif
}

}  // namespace

void BackgroundPrefault::start(std::vector<MemoryRegion> regions) {
    finish();
    try {
        thread_ = startThread([regions = std::move(regions)] { mapRegions(regions); });
    } catch (const std::system_error&) {
        // No thread: the filling thread maps the pages as it goes.
    }
}

void BackgroundPrefault::finish() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace zelvane
