#include <exception>
#include <system_error>
#include <thread>

#include "MeshStore.h"
#include "os/Threads.h"

namespace zelvane {

namespace {

// Below this many polygons, grouping takes less than starting a thread.
constexpr size_t kPolygonsWorthAThread = 100000;

// Waits for the thread however the scope ends.
class JoinAtEnd {
public:
    explicit JoinAtEnd(std::thread& thread) : thread_(thread) {}
    ~JoinAtEnd() { thread_.join(); }
    JoinAtEnd(const JoinAtEnd&) = delete;
    JoinAtEnd& operator=(const JoinAtEnd&) = delete;

private:
    std::thread& thread_;
};

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
    {
        const JoinAtEnd join(grouping);
        mergeDuplicates();
    }
    if (groupingFailure) {
        std::rethrow_exception(groupingFailure);
    }
}

}  // namespace zelvane
