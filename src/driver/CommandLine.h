#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

// What the user asked for: a conversion, or only the usage text or the
// version, as "--help" (or "-h") and "--version" ask; kBadUsage for a
// command line that cannot be run (see CommandLine::usageError).
enum class Request { kConvert, kHelp, kVersion, kBadUsage };

// What a conversion writes: OBJ and MTL, the scene document ("-quazo"), or
// glTF 2.0 as one binary file ("--glb") or as JSON with its buffer ("--gltf").
enum class OutputFormat { kObj, kScene, kGlb, kGltf };

struct CommandLine {
    Request request = Request::kConvert;
    std::vector<std::string> modelPaths;  // in the order given
    OutputFormat format = OutputFormat::kObj;
    // Find, convert and reference the textures' images ("--textures"; glTF
    // output always does), looking in each model's folder and then in these.
    bool textures = false;
    std::vector<std::string> textureFolders;  // "--texture-dir DIR", in order
    // Convert every model on its own ("--each"); a folder then stands for
    // the models in it and below.
    bool each = false;
    std::string outputFolder;  // "--output-dir DIR": outputs there instead of beside the models
    std::string usageError;    // the words for kBadUsage
};

// "-quazo" in any mix of ASCII letter case, and nothing else.
bool isSceneOption(std::string_view argument);

// Separates the options from the model paths among the arguments (program
// name excluded), keeping the paths in their order. The first "--help", "-h"
// or "--version" decides the request; a model of such a name is reachable
// as "./--help". Two different output formats make a usage error.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace zelvane
