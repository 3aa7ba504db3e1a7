// The benchmark's tables: medians of the measured runs, one table per model
// family with a row per size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BenchMeasure.h"

namespace zelvane::bench {

struct SizeResult {
    uint32_t polygons = 0;
    std::vector<PhaseSample> phases;
    std::vector<double> endToEnd, floor, assimp;
    std::vector<long> peakKb;  // of the zelvane binary
};

struct FamilyResult {
    std::string family;
    std::vector<SizeResult> sizes;
};

double median(std::vector<double> values);

void printFamilyTable(const FamilyResult& result, int runs, bool assimpFound);

}  // namespace zelvane::bench
