#pragma once

#include <string>

namespace zelvane {

// What kept a run from writing its outputs, or a model from being loaded:
// the file at fault and why, in a few words.
struct OutputError {
    std::string path;
    std::string reason;
};

}  // namespace zelvane
