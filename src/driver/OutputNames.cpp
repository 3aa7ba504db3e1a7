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

std::string outputBaseFor(std::string_view modelPath, std::string_view outputFolder, std::string_view relativePath) {
    if (outputFolder.empty()) {
        return baseNameOf(modelPath);
    }
    return joinPath(outputFolder, baseNameOf(relativePath));
}

}  // namespace zelvane
