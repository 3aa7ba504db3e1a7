#include "LoadReport.h"

#include <array>
#include <charconv>

namespace zelvane {
namespace {

std::string decimal(uint32_t value) {
    return std::to_string(value);
}

// The share of polygons that change the render state, in percent with two
// decimals; a file without polygons has none.
std::string fragmentation(const LoadReport& report) {
    const double percent = report.polygonCount == 0
                               ? 0.0
                               : static_cast<double>(report.stateChanges) / report.polygonCount * 100.0;
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), percent,
                                      std::chars_format::fixed, 2);
    return std::string(text.data(), result.ptr);
}

}  // namespace

std::string formatLoadReport(const LoadReport& report) {
    return "poly count: " + decimal(report.polygonCount) + "\n" +
           "state changes: " + decimal(report.stateChanges) + "\n" +
           "fragmentation: " + fragmentation(report) + "%\n" +
           "flat shaded polygons: " + decimal(report.flatShadedCount) + "\n" +
           "pc: " + decimal(report.polygonCount) + " tpc:" + decimal(report.triangleCount) +
           " qpc: " + decimal(report.quadCount) + "\n";
}

}  // namespace zelvane
