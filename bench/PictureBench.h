// What pictures cost: the sample house drawn alone, as a file manager asks
// for it.
#pragma once

#include <string>

namespace zelvane::bench {

struct ThumbnailBenchOptions {
    std::string zelvane;  // the converter
    std::string helper;   // measure_run
    std::string dir;      // where the picture goes
    int runs = 5;
};

// Prints the medians of the whole run and its peak memory of "zelvane
// --thumbnail 512" on the sample house with its textures, and the picture's
// size; then the bytes of the house's textures converted to PNG; each beside
// the figures measured before PNG files were compressed with zlib.
void printThumbnailResult(const ThumbnailBenchOptions& options);

}  // namespace zelvane::bench
