#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "output/OutputSet.h"

namespace zelvane {

// One model of a run as the gallery shows it.
struct GalleryCard {
    std::string shownPath;               // the model's path as the run names it
    std::optional<std::string> failure;  // its error line, "zelvane: <path>: <reason>", when it failed
    uint64_t triangles = 0;
    uint64_t quads = 0;
    std::vector<std::string> outputs;  // the paths of the files written for it
    std::string picture;               // the path of its picture, "" when it has none
    uint32_t pictureSize = 0;          // the picture's width and height in pixels, 0 when not known
    std::vector<std::string> warnings;  // its texture warning lines
};

// The run the gallery shows.
struct GalleryRun {
    size_t converted = 0;
    size_t models = 0;
    uint64_t polygons = 0;
    // The absolute folder that relative paths start from: links are made
    // from the paths' text and this alone, without asking the system.
    std::string currentFolder;
};

// Adds the page at pagePath to outputs: one HTML document with the run's
// figures and a card per model, in the order given, that links to the
// pictures and outputs relative to the page's own folder, so that the page
// and the files can move together. The page is placed with the set's
// commit; false when it cannot be written (see outputs.error()).
bool writeGalleryPage(OutputSet& outputs, const std::string& pagePath, const GalleryRun& run,
                      const std::vector<GalleryCard>& cards);

}  // namespace zelvane
