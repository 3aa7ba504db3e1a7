#pragma once

#include <string>

#include "mag5/LoadReport.h"
#include "mesh/MeshStore.h"

namespace zelvane {

struct LoadResult {
    std::string error;  // empty when the file was loaded whole
    LoadReport report;
};

// Reads one MAG5 file into the store. The file's vertex indices are offset by
// the positions the store already held, and its texture numbers are mapped to
// the store's entries for their names. A file that cannot be opened, is not
// MAG5, ends early or refers to a vertex it does not have gives an error in
// plain words; what was added to the store before is then left in it.
LoadResult loadMagFile(const std::string& path, MeshStore& store);

}  // namespace zelvane
