#include "ModelList.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "os/Folders.h"
#include "os/PathText.h"
#include "os/Platform.h"

namespace zelvane {
namespace {

bool isModelName(std::string_view name) {
    constexpr std::string_view kEnding = ".mag";
    if (name.size() <= kEnding.size()) {
        return false;
    }
    return equalIgnoringAsciiCase(name.substr(name.size() - kEnding.size()), kEnding);
}

// Adds the models in folder and below, relative to it as relative says.
bool collectModels(const std::string& folder, const std::string& relative, std::vector<BatchModel>& models,
                   std::vector<OutputError>& problems) {
    std::vector<FolderEntry> entries;
    if (!listFolder(folder, entries)) {
        problems.push_back({folder, std::strerror(errno)});
        return false;
    }
    for (const FolderEntry& entry : entries) {
        const std::string path = joinPath(folder, entry.name);
        const std::string below = relative.empty() ? entry.name : relative + "/" + entry.name;
        if (entry.folder) {
            collectModels(path, below, models, problems);
        } else if (entry.file && isModelName(entry.name)) {
            models.push_back({path, below});
        }
    }
    return true;
}

}  // namespace

std::vector<BatchModel> listBatchModels(const std::vector<std::string>& paths, std::vector<OutputError>& problems) {
    std::vector<BatchModel> models;
    for (const std::string& path : paths) {
        if (isFolder(std::string(withoutTrailingSeparators(path)))) {
            std::vector<BatchModel> found;
            collectModels(path, "", found, problems);
            std::sort(found.begin(), found.end(),
                      [](const BatchModel& a, const BatchModel& b) { return a.relativePath < b.relativePath; });
            models.insert(models.end(), found.begin(), found.end());
            continue;
        }
        std::vector<std::string> matches = expandWildcard(path);
        if (matches.empty()) {
            matches.push_back(path);
        }
        for (const std::string& match : matches) {
            models.push_back({match, std::string(fileNamePart(match))});
        }
    }
    return models;
}

}  // namespace zelvane
