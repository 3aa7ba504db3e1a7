#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace zelvane {

// One line on a terminal that tells how a run of many models goes: the
// models done of all, the polygons per second so far and the file being
// converted. It is redrawn in place and erased before anything else is
// written to the terminal; a progress that is not shown writes nothing.
class Progress {
public:
    Progress(std::ostream& terminal, bool shown, size_t modelCount);

    void show(size_t done, uint64_t polygons, const std::string& currentFile);
    void erase();

private:
    std::ostream& terminal_;
    bool shown_;
    size_t modelCount_;
    size_t width_ = 0;  // of the line on the terminal now
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace zelvane
