// What writing a model back for the game costs: a large glTF file read and
// written as MAG5.
#pragma once

#include <string>

namespace zelvane::bench {

struct Mag5BenchOptions {
    std::string zelvane;  // the converter
    std::string helper;   // measure_run
    std::string model;    // a MAG5 model, made into the .glb that is read
    std::string dir;      // where the work goes
    int runs = 5;
};

// Prints two lines: the phases inside one process (reading the .glb,
// merging and grouping, writing the MAG5 file) and the whole runs of
// "zelvane model.glb --mag5" beside "zelvane model.glb" (OBJ), medians of
// runs rounds after a warm-up.
void printMag5Result(const Mag5BenchOptions& options);

}  // namespace zelvane::bench
