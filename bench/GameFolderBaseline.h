// The game folder's figures measured at commit c942195, before the models
// of a run shared their textures' images, printed beside today's. Measured
// by this benchmark, pointed at that commit's converter with --zelvane, on
// the 2-core build machine while other builds and tests ran (a load of 3
// to 9): the median of five runs of the benchmark, each the median of 3
// interleaved rounds after a warm-up, alternated with runs of the new
// converter. On a quiet machine all four are lower; compare the ratios.
#pragma once

namespace zelvane::bench {

inline constexpr const char* kGameFolderBaselineCommit = "c942195";

// Seconds of each run, in the order the benchmark prints them.
inline constexpr double kGameFolderBaselineSeconds[] = {0.79, 2.75, 8.33, 8.64};

}  // namespace zelvane::bench
