#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "os/Platform.h"
#include "output/OutputError.h"
#include "textures/TextureCache.h"

namespace zelvane {

struct ConversionResult {
    std::optional<OutputError> failure;  // the file at fault and why; none when converted
    uint64_t polygons = 0;               // of the models loaded
    uint64_t triangles = 0;
    uint64_t quads = 0;
    std::vector<std::string> outputs;    // the files written, picture included
    std::string picture;                 // the picture's path, when one was written
    std::vector<std::string> warnings;   // the warnings' lines (models and textures), as written to err
};

// Loads the models into one store and writes it in the command line's
// format, with its textures if asked, under outputBase (the outputs' path
// without their endings). Load reports and count lines go to out, texture
// warnings to err; the failure, if any, is left to the caller to report.
// No output may be written over a file the models led to, nor over one of
// otherInputs (the other models of a run that converts each on its own).
// The texture images come from textureCache when one is given (a run's
// conversions, shared by its models).
ConversionResult convertModels(const CommandLine& commandLine, const std::vector<std::string>& modelPaths,
                               const std::string& outputBase, std::ostream& out, std::ostream& err,
                               const std::vector<FileIdentity>& otherInputs = {},
                               TextureCache* textureCache = nullptr);

// Loads the model and writes its picture alone at the request's path,
// printing nothing; the failure, if any.
std::optional<OutputError> drawThumbnail(const ThumbnailRequest& request);

}  // namespace zelvane
