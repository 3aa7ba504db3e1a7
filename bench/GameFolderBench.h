// A game's model folder converted as users run it: --each over a few
// hundred models sharing a few dozen PCX textures, with and without the
// textures, the pictures and the gallery.
#pragma once

#include <string>

namespace zelvane::bench {

struct GameFolderBenchOptions {
    std::string zelvane;  // the converter
    std::string helper;   // measure_run
    std::string dir;      // where the folder and the outputs go
    int runs = 5;
};

// Prints the medians of the four runs (interleaved, after a warm-up round),
// the models per second, the ratios of the textures over none and of the
// pictures and gallery over the textures, each beside the figures measured
// before textures were shared between the models of a run.
void printGameFolderResult(const GameFolderBenchOptions& options);

}  // namespace zelvane::bench
