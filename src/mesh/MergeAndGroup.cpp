#include <exception>
#include <system_error>
#include <thread>

#include "MeshStore.h"
#include "os/Threads.h"

namespace zelvane {

namespace {

// Below this many polygons, grouping takes less than starting a thread.
constexpr size_t kPolygonsWorthAThread = 100000;

}  // namespace

void MeshStore::mergeAndGroup() {
    std::thread grouping;
    std::exception_ptr groupingFailure;
    try {
        if (polygons.size() >= kPolygonsWorthAThread) {
            grouping = startThread([&] {
                try {
                    groupByMaterial();
                } catch (...) {
                    groupingFailure = std::current_exception();
                }
            });
        }
    } catch (const std::system_error&) {
        // No thread to spare: grouped after merging.
    }
    if (!grouping.joinable()) {
        mergeDuplicates();
        groupByMaterial();
        return;
    }
    try {
        mergeDuplicates();
    } catch (...) {
        grouping.join();
        throw;
    }
    grouping.join();
    if (groupingFailure) {
        std::rethrow_exception(groupingFailure);
    }
}

}  // namespace zelvane
