#include "CommandLine.h"

#include "os/PathText.h"

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
        } else if (argument == "--texture-dir" || argument == "--output-dir") {
            if (index + 1 == arguments.size()) {
                refuse(commandLine, argument + " needs a folder");
            } else if (argument == "--texture-dir") {
                commandLine.textureFolders.push_back(arguments[++index]);
            } else {
                commandLine.outputFolder = arguments[++index];
            }
        } else if (argument == "--each") {
            commandLine.each = true;
        } else {
            commandLine.modelPaths.push_back(argument);
        }
    }
    if (commandLine.format == OutputFormat::kGlb || commandLine.format == OutputFormat::kGltf ||
        !commandLine.textureFolders.empty()) {
        commandLine.textures = true;
    }
    if (commandLine.request == Request::kConvert && !commandLine.usageError.empty()) {
        commandLine.request = Request::kBadUsage;
    }
    return commandLine;
}

}  // namespace zelvane
