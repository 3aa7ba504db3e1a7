#include "Driver.h"

#include <cerrno>
#include <cstring>

#include "BatchRun.h"
#include "CommandLine.h"
#include "Conversion.h"
#include "ErrorLines.h"
#include "GalleryOutput.h"
#include "OutputNames.h"
#include "os/Folders.h"
#include "os/PathText.h"

namespace zelvane {
namespace {

// ZELVANE_VERSION is the project's version in CMakeLists.txt.
constexpr const char* kBanner = "Zelvane - The Darvonelle Converter [R" ZELVANE_VERSION "]";
constexpr const char* kUsageLines[] = {
    "zelvane <MAG FILE> [-quazo]",
    "get the quazo renderer at:",
    "https://quazo.example.org/",
};
// What --help adds to the usage text.
constexpr const char* kOptionLines[] = {
    "options:",
    "  -quazo             write the scene document and one OBJ file per material",
    "  --glb              write glTF 2.0 as one binary file, images embedded",
    "  --gltf             write glTF 2.0 as JSON with its buffer and images beside it",
    "  --mag5             write a MAG5 model for the game (with --textures, its images as PCX)",
    "  --textures         find the textures' images, convert them to PNG and name those",
    "  --texture-dir DIR  also look for images in DIR (repeatable; implies --textures)",
    "  --each             convert every model on its own, a folder as the models in it",
    "  --output-dir DIR   write the outputs under DIR instead of beside the models",
    "  --preview          also draw each model as <name>.preview.png beside its outputs",
    "  --preview-size N   draw it N x N pixels (16 to 4096; 512 without)",
    "  --gallery PAGE     after the run, write an HTML page showing every model's picture",
    "  --thumbnail SIZE MODEL PNG",
    "                     only draw MODEL as PNG, SIZE x SIZE, printing nothing (for file managers)",
    "  --help, -h         print this text",
    "  --version          print the version",
    "models: MAG5, OBJ with its MTL (*.obj), glTF 2.0 (.glb or .gltf); --each finds *.mag in folders",
    "Blender: File > Import > Darvonelle model (.mag), and File > Export to a .mag and its PCX files,",
    "         with the add-on: zelvane_mag5-<version>.zip for Blender 4.2 and later,",
    "         zelvane-blender-<version>.zip for 3.4 to 4.1; see README.md, \"Blender\"",
};

void writeLine(std::ostream& out, std::string_view line) {
    out << line << '\n' << std::flush;
}

template <size_t count>
void writeLines(std::ostream& out, const char* const (&lines)[count]) {
    for (const char* line : lines) {
        writeLine(out, line);
    }
}

void reportError(std::ostream& err, std::string_view path, std::string_view reason) {
    err << errorLine(path, reason) << std::flush;
}

// All the models into one, named after the last.
int convertTogether(const CommandLine& commandLine, std::ostream& out, std::ostream& err) {
    const std::string& last = commandLine.modelPaths.back();
    if (!createFolders(commandLine.outputFolder)) {
        reportError(err, commandLine.outputFolder, std::strerror(errno));
        return kExitFailure;
    }
    const std::string base = outputBaseFor(last, commandLine.outputFolder, fileNamePart(last));
    const ConversionResult result = convertModels(commandLine, commandLine.modelPaths, base, out, err);
    if (result.failure) {
        reportError(err, result.failure->path, result.failure->reason);
    }
    if (!commandLine.galleryPage.empty()) {
        if (const std::optional<OutputError> failure = writeGallery(commandLine, {{last, &result}})) {
            reportError(err, failure->path, failure->reason);
            return kExitFailure;
        }
    }
    return result.failure ? kExitFailure : kExitSuccess;
}

// A file manager's request: the picture alone, and standard output silent.
int runThumbnail(const ThumbnailRequest& request, std::ostream& err) {
    if (!request.usageError.empty()) {
        err << errorLine(request.usageError) << std::flush;
        return kExitUsage;
    }
    if (const std::optional<OutputError> failure = drawThumbnail(request)) {
        reportError(err, failure->path, failure->reason);
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace

int runZelvane(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               bool errorIsTerminal) {
    if (isThumbnailRequest(arguments)) {
        return runThumbnail(parseThumbnailRequest(arguments), err);
    }
    writeLine(out, kBanner);
    const CommandLine commandLine = parseCommandLine(arguments);
    switch (commandLine.request) {
        case Request::kVersion:
            return kExitSuccess;
        case Request::kBadUsage:
            err << errorLine(commandLine.usageError) << std::flush;
            return kExitUsage;
        case Request::kHelp:
            writeLines(out, kUsageLines);
            writeLines(out, kOptionLines);
            return kExitSuccess;
        case Request::kConvert:
            break;
    }
    if (commandLine.modelPaths.empty()) {
        writeLines(out, kUsageLines);
        return kExitUsage;
    }
    return commandLine.each ? runBatch(commandLine, out, err, errorIsTerminal) : convertTogether(commandLine, out, err);
}

}  // namespace zelvane
