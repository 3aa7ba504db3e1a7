#pragma once

#include <cstddef>
#include <thread>
#include <vector>

namespace zelvane {

// Memory that is about to be filled.
struct MemoryRegion {
    const void* data = nullptr;
    size_t bytes = 0;
};

// Maps memory that is about to be filled ahead of the thread that fills
// it, on a thread of its own: fresh pages cost about a millisecond a
// megabyte to map and clear, and that work then runs on the second core.
// Only a hint, which changes no byte: where the system cannot do it, or no
// thread can be started, nothing happens and the filling thread maps the
// pages itself.
class BackgroundPrefault {
public:
    BackgroundPrefault() = default;
    ~BackgroundPrefault() { finish(); }
    BackgroundPrefault(const BackgroundPrefault&) = delete;
    BackgroundPrefault& operator=(const BackgroundPrefault&) = delete;

    // Starts on regions, in order, once the previous start has finished.
    void start(std::vector<MemoryRegion> regions);
    // Waits until the regions are mapped.
    void finish();

private:
    std::thread thread_;
};

}  // namespace zelvane
