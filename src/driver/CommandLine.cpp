#include "CommandLine.h"

#include <charconv>
#include <optional>

#include "os/PathText.h"
#include "picture/Picture.h"

namespace zelvane {
namespace {

Request requestOf(std::string_view argument) {
    if (argument == "--help" || argument == "-h") {
        return Request::kHelp;
    }
    return argument == "--version" ? Request::kVersion : Request::kConvert;
}

// The output format an argument chooses, if it is one of their options.
bool readFormatOption(std::string_view argument, OutputFormat& format) {
    if (isSceneOption(argument)) {
        format = OutputFormat::kScene;
    } else if (argument == "--glb") {
        format = OutputFormat::kGlb;
    } else if (argument == "--gltf") {
        format = OutputFormat::kGltf;
    } else if (argument == "--mag5") {
        format = OutputFormat::kMag5;
    } else {
        return false;
    }
    return true;
}

void refuse(CommandLine& commandLine, std::string words) {
    if (commandLine.usageError.empty()) {
        commandLine.usageError = std::move(words);
    }
}

// Each run writes one format: a second, different one is refused, naming
// both options as given.
void chooseFormat(CommandLine& commandLine, OutputFormat format, std::string_view option,
                  std::string& formatOption) {
    if (!formatOption.empty() && commandLine.format != format) {
        refuse(commandLine, formatOption + " and " + std::string(option) + " cannot be used together");
        return;
    }
    commandLine.format = format;
    formatOption = option;
}

// A picture's size in pixels, when text is one within the limits.
std::optional<uint32_t> pictureSizeOf(std::string_view text) {
    uint32_t size = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (error != std::errc() || end != text.data() + text.size() || size < kSmallestPicture ||
        size > kLargestPictureSide) {
        return std::nullopt;
    }
    return size;
}

std::string pictureSizeWords(std::string_view option) {
    return std::string(option) + " needs a size in pixels from " + std::to_string(kSmallestPicture) + " to " +
           std::to_string(kLargestPictureSide);
}

// An option that takes the next argument, and that argument; false when
// there is none (the usage error is recorded).
bool takeValue(CommandLine& commandLine, const std::vector<std::string>& arguments, size_t& index,
               std::string_view what, std::string& value) {
    if (index + 1 == arguments.size()) {
        refuse(commandLine, arguments[index] + " needs " + std::string(what));
        return false;
    }
    value = arguments[++index];
    return true;
}

}  // namespace

bool isSceneOption(std::string_view argument) {
    return equalIgnoringAsciiCase(argument, "-quazo");
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine commandLine;
    std::string formatOption;  // the option that chose the format, as given
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        OutputFormat format;
        if (const Request request = requestOf(argument); request != Request::kConvert) {
            if (commandLine.request == Request::kConvert) {
                commandLine.request = request;
            }
        } else if (readFormatOption(argument, format)) {
            chooseFormat(commandLine, format, argument, formatOption);
        } else if (argument == "--textures") {
            commandLine.textures = true;
        } else if (argument == "--texture-dir") {
            if (std::string folder; takeValue(commandLine, arguments, index, "a folder", folder)) {
                commandLine.textureFolders.push_back(std::move(folder));
            }
        } else if (argument == "--output-dir") {
            takeValue(commandLine, arguments, index, "a folder", commandLine.outputFolder);
        } else if (argument == "--preview") {
            commandLine.preview = true;
        } else if (argument == "--preview-size") {
            std::string size;
            commandLine.preview = true;
            if (!takeValue(commandLine, arguments, index, "a size", size)) {
                continue;
            }
            if (const std::optional<uint32_t> pixels = pictureSizeOf(size)) {
                commandLine.previewSize = *pixels;
            } else {
                refuse(commandLine, pictureSizeWords(argument));
            }
        } else if (argument == "--gallery") {
            commandLine.preview = true;
            takeValue(commandLine, arguments, index, "a page", commandLine.galleryPage);
        } else if (argument == "--thumbnail") {
            refuse(commandLine, "--thumbnail comes first: zelvane --thumbnail SIZE MODEL PNG");
        } else if (argument == "--each") {
            commandLine.each = true;
        } else {
            commandLine.modelPaths.push_back(argument);
        }
    }
    if (commandLine.format == OutputFormat::kGlb || commandLine.format == OutputFormat::kGltf ||
        !commandLine.textureFolders.empty() || commandLine.preview) {
        commandLine.textures = true;
    }
    if (commandLine.request == Request::kConvert && !commandLine.usageError.empty()) {
        commandLine.request = Request::kBadUsage;
    }
    return commandLine;
}

bool isThumbnailRequest(const std::vector<std::string>& arguments) {
    return !arguments.empty() && arguments[0] == "--thumbnail";
}

ThumbnailRequest parseThumbnailRequest(const std::vector<std::string>& arguments) {
    ThumbnailRequest request;
    if (arguments.size() != 4) {
        request.usageError = "--thumbnail needs SIZE MODEL PNG";
        return request;
    }
    const std::optional<uint32_t> size = pictureSizeOf(arguments[1]);
    if (!size) {
        request.usageError = pictureSizeWords("--thumbnail");
        return request;
    }
    request.size = *size;
    request.modelPath = arguments[2];
    request.picturePath = arguments[3];
    return request;
}

}  // namespace zelvane
