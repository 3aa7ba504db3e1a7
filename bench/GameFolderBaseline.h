// The game folder's figures measured at commit c942195, before the models
// of a run shared their textures' images, printed beside today's. Measured
// by this benchmark, pointed at that commit's converter with --zelvane, on
// the quiet 2-core build machine: the mean of two runs of the benchmark,
// each the median of 5 interleaved rounds after a warm-up, alternated with
// runs of the new converter.
#pragma once

namespace zelvane::bench {

inline constexpr const char* kGameFolderBaselineCommit = "c942195";

// Seconds of each run, in the order the benchmark prints them.
inline constexpr double kGameFolderBaselineSeconds[] = {0.455, 1.433, 4.219, 4.299};

}  // namespace zelvane::bench
