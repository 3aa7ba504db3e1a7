#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

struct CommandLine {
    std::vector<std::string> modelPaths;  // in the order given
    bool sceneMode = false;
};

// "-quazo" in any mix of ASCII letter case, and nothing else.
bool isSceneOption(std::string_view argument);

// Separates the option from the model paths among the arguments (program
// name excluded), keeping the paths in their order.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace zelvane
