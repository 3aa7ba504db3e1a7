#include "OutputNames.h"

#include "os/PathText.h"

namespace zelvane {

std::string baseNameOf(std::string_view modelPath) {
    const std::string_view fileName = fileNamePart(modelPath);
    const size_t dot = fileName.find('.', 1);
    if (fileName.empty() || dot == std::string_view::npos) {
        return std::string(modelPath);
    }
    return std::string(modelPath.substr(0, modelPath.size() - fileName.size() + dot));
}

OutputPaths outputPathsFor(std::string_view modelPath) {
    const std::string base = baseNameOf(modelPath);
    return {base + ".obj", base + ".mtl", base + ".xml"};
}

}  // namespace zelvane
