// The speed-up of converting a folder of models with --each over the same
// conversions run one after another.
#pragma once

#include <string>

namespace zelvane::bench {

struct BatchBenchOptions {
    std::string zelvane;  // the converter
    std::string helper;   // measure_run
    std::string dir;      // where the models and outputs go
    int runs = 3;
};

// Prints one line: 200 small models and 8 large ones, the medians of both
// ways of converting them and the speed-up.
void printBatchResult(const BatchBenchOptions& options);

}  // namespace zelvane::bench
