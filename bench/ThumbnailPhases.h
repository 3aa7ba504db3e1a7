// Where the time of a picture goes: the sample house loaded, its textures
// decoded, drawn and written as PNG, phase by phase inside one process.
#pragma once

#include <string>

namespace zelvane::bench {

struct ThumbnailPhases {
    double load = 0;      // read, merged and grouped
    double textures = 0;  // found, read and decoded
    double draw = 0;      // the whole picture in memory
    double png = 0;       // that picture as a PNG file's bytes
    double written = 0;   // drawn and compressed as the rows come, and the file written: the converter's way
};

// Medians of runs, in seconds, each in a fresh child process with the
// threads the converter gives a picture.
ThumbnailPhases measureThumbnailPhases(const std::string& houseFolder, int runs);

}  // namespace zelvane::bench
