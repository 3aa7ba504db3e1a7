// Running the built converter in a folder of its own.
#pragma once

#include <string>
#include <vector>

#include "Files.h"
#include "GroupIds.h"
#include "Models.h"
#include "TempFolder.h"

namespace zelvane::test {

inline constexpr const char* kBanner = "Zelvane - The Darvonelle Converter [R0.1.4]\n";

inline CommandResult runZelvaneIn(const TempFolder& folder, const std::vector<std::string>& arguments,
                                  long fileSizeLimit = 0) {
    return runProgram(ZELVANE_BIN, arguments, folder.path(), fileSizeLimit);
}

// The load report of smallModel().
inline constexpr const char* kSmallModelReport =
    "poly count: 2\nstate changes: 2\nfragmentation: 100.00%\nflat shaded polygons: 1\npc: 2 tpc:1 qpc: 1\n";

}  // namespace zelvane::test
