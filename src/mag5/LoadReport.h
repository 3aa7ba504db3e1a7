#pragma once

#include <cstdint>
#include <string>

namespace zelvane {

// What one model file held, for the five-line report after loading it.
struct LoadReport {
    uint32_t polygonCount = 0;  // as the file declares it, skipped polygons included
    uint32_t stateChanges = 0;  // triangles and quads whose render state differs from the one before
    uint32_t flatShadedCount = 0;
    uint32_t triangleCount = 0;
    uint32_t quadCount = 0;
};

// The report's five lines, each ending in "\n".
std::string formatLoadReport(const LoadReport& report);

}  // namespace zelvane
