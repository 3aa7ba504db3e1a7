#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

// What the user asked for: a conversion, or only the usage text or the
// version, as "--help" (or "-h") and "--version" ask.
enum class Request { kConvert, kHelp, kVersion };

struct CommandLine {
    Request request = Request::kConvert;
    std::vector<std::string> modelPaths;  // in the order given
    bool sceneMode = false;
};

// "-quazo" in any mix of ASCII letter case, and nothing else.
bool isSceneOption(std::string_view argument);

// Separates the option from the model paths among the arguments (program
// name excluded), keeping the paths in their order. The first "--help", "-h"
// or "--version" decides the request; a model of such a name is reachable
// as "./--help".
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace zelvane
