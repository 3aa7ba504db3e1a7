#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Conversion.h"

namespace zelvane {

// A model of the run as the gallery shows it: its path relative to the
// folder it was found in (as given when it was named itself), and how its
// conversion went.
struct GalleryModel {
    std::string shownPath;
    const ConversionResult* result = nullptr;
};

// Writes the page that "--gallery PAGE" asks for, a card per model in the
// order given, making its folder when it is missing; the failure, if the
// page cannot be written.
std::optional<OutputError> writeGallery(const CommandLine& commandLine, const std::vector<GalleryModel>& models);

}  // namespace zelvane
