#include "PictureBench.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "BenchProcess.h"
#include "BenchReport.h"

namespace zelvane::bench {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHouseFiles[] = {"house.mag", "brick.pcx", "roof_tiles.pcx", "planks.pcx", "window.pcx"};

}  // namespace

void printThumbnailResult(const ThumbnailBenchOptions& options) {
    const std::string work = options.dir + "/thumbnail";
    fs::create_directories(work);
    for (const char* name : kHouseFiles) {
        fs::copy_file(fs::path(ZELVANE_EXAMPLES) / name, fs::path(work) / name, fs::copy_options::overwrite_existing);
    }
    std::vector<double> seconds;
    std::vector<double> peaks;
    for (int round = 0; round <= options.runs; ++round) {
        const Timed run =
            runMeasured(options.helper, {options.zelvane, "--thumbnail", "512", "house.mag", "house.png"}, work);
        if (run.status != 0 || !fs::exists(work + "/house.png")) {
            std::fprintf(stderr, "zelvane_bench: --thumbnail failed in %s (status %d)\n", work.c_str(), run.status);
            std::exit(2);
        }
        if (round > 0) {  // the first is a warm-up
            seconds.push_back(run.seconds);
            peaks.push_back(static_cast<double>(run.peakKb));
        }
    }
    std::printf("\n--thumbnail 512 of the sample house (264 polygons, 4 textures), medians of %d runs: %.1f ms, "
                "peak %.1f MB\n",
                options.runs, 1000.0 * median(seconds), median(peaks) * 1024.0 / 1e6);
}

}  // namespace zelvane::bench
