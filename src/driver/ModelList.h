#pragma once

#include <string>
#include <vector>

#include "output/OutputSet.h"

namespace zelvane {

// A model of a run that converts each model on its own.
struct BatchModel {
    std::string path;          // as it is opened
    std::string relativePath;  // below the folder argument it was found in; its file name when named itself
};

// The models that the paths name: a path that is not a folder is a model
// as it stands (on Windows, one with "*" or "?" in its last part stands for
// the files it matches); a folder stands for every file in it and below
// whose name ends in ".mag" in any letter case, in name order (links to
// folders are not followed, links to files are). A folder that cannot be
// read is a problem of its own.
std::vector<BatchModel> listBatchModels(const std::vector<std::string>& paths, std::vector<OutputError>& problems);

}  // namespace zelvane
