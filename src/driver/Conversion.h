#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "output/OutputError.h"

namespace zelvane {

struct ConversionResult {
    std::optional<OutputError> failure;  // the file at fault and why; none when converted
    uint64_t polygons = 0;               // of the models loaded
};

// Loads the models into one store and writes it in the command line's
// format, with its textures if asked, under outputBase (the outputs' path
// without their endings). Load reports and count lines go to out, texture
// warnings to err; the failure, if any, is left to the caller to report.
ConversionResult convertModels(const CommandLine& commandLine, const std::vector<std::string>& modelPaths,
                               const std::string& outputBase, std::ostream& out, std::ostream& err);

}  // namespace zelvane
