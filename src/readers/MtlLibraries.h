#pragma once

#include <string>
#include <vector>

#include "TinyObj.h"

namespace zelvane {

// Reads the material libraries an OBJ file names from the OBJ file's folder
// only: a name never leads out of it (see lookUpInFolder). A library that
// is refused, missing or unreadable leaves a warning and the OBJ file's
// materials without it.
class MtlLibraries : public tinyobj::MaterialReader {
public:
    explicit MtlLibraries(std::string folder) : folder_(std::move(folder)) {}

    bool operator()(const std::string& name, std::vector<tinyobj::material_t>* materials,
                    std::map<std::string, int>* materialNumbers, std::string* warning, std::string* error) override;

    const std::vector<std::string>& warnings() const { return warnings_; }
    const std::vector<std::string>& filesRead() const { return filesRead_; }

private:
    std::string folder_;
    std::vector<std::string> warnings_;
    std::vector<std::string> filesRead_;
};

}  // namespace zelvane
