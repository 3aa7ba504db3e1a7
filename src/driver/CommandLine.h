#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

// What the user asked for: a conversion, or only the usage text or the
// version, as "--help" (or "-h") and "--version" ask; kBadUsage for a
// command line that cannot be run (see CommandLine::usageError).
enum class Request { kConvert, kHelp, kVersion, kBadUsage };

// The sizes a picture may have, in pixels on a side: from this one to
// kLargestPictureSide (picture/Picture.h).
inline constexpr uint32_t kSmallestPicture = 16;
inline constexpr uint32_t kDefaultPicture = 512;

// What a conversion writes: OBJ and MTL, the scene document ("-quazo"),
// glTF 2.0 as one binary file ("--glb") or as JSON with its buffer
// ("--gltf"), or a MAG5 file for the game ("--mag5").
enum class OutputFormat { kObj, kScene, kGlb, kGltf, kMag5 };

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
    // A picture of each model beside its outputs ("--preview", and
    // "--preview-size N" for its size; "--gallery PAGE" too), and a page
    // of them all.
    bool preview = false;
    uint32_t previewSize = kDefaultPicture;
    std::string galleryPage;
    std::string usageError;  // the words for kBadUsage
};

// "zelvane --thumbnail SIZE MODEL PNG": only a picture, as a file manager
// asks for one.
struct ThumbnailRequest {
    uint32_t size = 0;
    std::string modelPath;
    std::string picturePath;
    std::string usageError;  // when the arguments are not these
};

// Whether the arguments are a thumbnail request: "--thumbnail" first.
bool isThumbnailRequest(const std::vector<std::string>& arguments);
ThumbnailRequest parseThumbnailRequest(const std::vector<std::string>& arguments);

// "-quazo" in any mix of ASCII letter case, and nothing else.
bool isSceneOption(std::string_view argument);

// Separates the options from the model paths among the arguments (program
// name excluded), keeping the paths in their order. The first "--help", "-h"
// or "--version" decides the request; a model of such a name is reachable
// as "./--help". Two different output formats make a usage error.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace zelvane
