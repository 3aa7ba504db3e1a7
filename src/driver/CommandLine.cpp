#include "CommandLine.h"

namespace zelvane {
namespace {

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

Request requestOf(std::string_view argument) {
    if (argument == "--help" || argument == "-h") {
        return Request::kHelp;
    }
    return argument == "--version" ? Request::kVersion : Request::kConvert;
}

}  // namespace

bool isSceneOption(std::string_view argument) {
    constexpr std::string_view kOption = "-quazo";
    if (argument.size() != kOption.size()) {
        return false;
    }
    for (size_t index = 0; index < kOption.size(); ++index) {
        if (asciiLower(argument[index]) != kOption[index]) {
            return false;
        }
    }
    return true;
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine commandLine;
    for (const std::string& argument : arguments) {
        if (const Request request = requestOf(argument); request != Request::kConvert) {
            if (commandLine.request == Request::kConvert) {
                commandLine.request = request;
            }
        } else if (isSceneOption(argument)) {
            commandLine.sceneMode = true;
        } else {
            commandLine.modelPaths.push_back(argument);
        }
    }
    return commandLine;
}

}  // namespace zelvane
