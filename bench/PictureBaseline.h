// Picture figures measured at commit 8f09987, when the converter compressed
// its PNG files with its own code, printed beside today's so that a run
// shows what compressing them with zlib changed. They were measured by this
// benchmark, pointed at that commit's converter with --zelvane, on the
// 2-core build machine while it was quiet: the time is the median of six
// runs of the benchmark (each the median of 21 runs), the sizes are exact.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelvane::bench {

inline constexpr const char* kBaselineCommit = "8f09987";

// The sample house drawn with --thumbnail 512, and its four textures
// converted with --textures: their PNG files' bytes in all.
inline constexpr double kBaselineThumbnailMilliseconds = 22.5;
inline constexpr uint64_t kBaselineThumbnailBytes = 68372;
inline constexpr uint64_t kBaselineTextureBytes = 25134;

struct PreviewBaseline {
    std::string_view family;
    uint32_t polygons;
    uint64_t pictureBytes;  // model.preview.png, 512 x 512
};

inline constexpr PreviewBaseline kPreviewBaselines[] = {
    {"shared", 100000, 121581}, {"shared", 1000000, 157116}, {"shared", 4000000, 175551},
    {"smooth", 100000, 99877},  {"smooth", 1000000, 115093}, {"smooth", 4000000, 117730},
    {"flat", 100000, 154649},   {"flat", 1000000, 169060},   {"flat", 4000000, 173997},
};

// The picture's size at the baseline for a model the table has.
inline std::optional<uint64_t> baselinePreviewBytes(std::string_view family, uint32_t polygons) {
    for (const PreviewBaseline& baseline : kPreviewBaselines) {
        if (baseline.family == family && baseline.polygons == polygons) {
            return baseline.pictureBytes;
        }
    }
    return std::nullopt;
}

}  // namespace zelvane::bench
