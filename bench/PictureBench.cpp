#include "PictureBench.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchProcess.h"
#include "BenchReport.h"
#include "PictureBaseline.h"
#include "ThumbnailPhases.h"

namespace zelvane::bench {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHouseFiles[] = {"house.mag", "brick.pcx", "roof_tiles.pcx", "planks.pcx", "window.pcx"};

std::string copyHouse(const std::string& work) {
    fs::create_directories(work);
    for (const char* name : kHouseFiles) {
        fs::copy_file(fs::path(ZELVANE_EXAMPLES) / name, fs::path(work) / name, fs::copy_options::overwrite_existing);
    }
    return work;
}

[[noreturn]] void failRun(const char* what, const std::string& work, int status) {
    std::fprintf(stderr, "zelvane_bench: %s failed in %s (status %d)\n", what, work.c_str(), status);
    std::exit(2);
}

// The bytes of the PNG files that --textures makes of the house's textures.
uint64_t textureBytes(const ThumbnailBenchOptions& options) {
    const std::string work = copyHouse(options.dir + "/textures");
    const Timed run = runMeasured(options.helper, {options.zelvane, "house.mag", "--textures"}, work);
    if (run.status != 0) failRun("--textures", work, run.status);
    uint64_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(work)) {
        if (entry.path().extension() == ".png") bytes += entry.file_size();
    }
    return bytes;
}

double processAloneSeconds(const ThumbnailBenchOptions& options, const std::string& work) {
    std::vector<double> seconds;
    for (int round = 0; round <= options.runs; ++round) {
        const Timed run = runMeasured(options.helper, {options.zelvane, "--version"}, work);
        if (run.status != 0) failRun("--version", work, run.status);
        if (round > 0) seconds.push_back(run.seconds);
    }
    return median(seconds);
}

void printThumbnailPhases(const ThumbnailBenchOptions& options, const std::string& work) {
    const ThumbnailPhases phases = measureThumbnailPhases(work, options.runs);
    std::printf("  where the time goes: the process alone (--version) %.1f ms; inside one: load %.2f ms, "
                "textures %.2f ms, drawing %.2f ms, then PNG %.2f ms; or both as the rows come, and the file "
                "written (the converter's way) %.2f ms\n",
                1000.0 * processAloneSeconds(options, work), 1000.0 * phases.load, 1000.0 * phases.textures,
                1000.0 * phases.draw, 1000.0 * phases.png, 1000.0 * phases.written);
}

}  // namespace

void printThumbnailResult(const ThumbnailBenchOptions& options) {
    const std::string work = copyHouse(options.dir + "/thumbnail");
    std::vector<double> seconds;
    std::vector<double> peaks;
    for (int round = 0; round <= options.runs; ++round) {
        const Timed run =
            runMeasured(options.helper, {options.zelvane, "--thumbnail", "512", "house.mag", "house.png"}, work);
        if (run.status != 0 || !fs::exists(work + "/house.png")) failRun("--thumbnail", work, run.status);
        if (round > 0) {  // the first is a warm-up
            seconds.push_back(run.seconds);
            peaks.push_back(static_cast<double>(run.peakKb));
        }
    }
    const auto pictureBytes = static_cast<double>(fs::file_size(work + "/house.png"));
    std::printf("\n--thumbnail 512 of the sample house (264 polygons, 4 textures), medians of %d runs: %.1f ms, "
                "peak %.1f MB; picture %.1f KB\n",
                options.runs, 1000.0 * median(seconds), median(peaks) * 1024.0 / 1e6, pictureBytes / 1e3);
    std::printf("  at %s: %.1f ms; picture %.1f KB\n", kBaselineCommit, kBaselineThumbnailMilliseconds,
                static_cast<double>(kBaselineThumbnailBytes) / 1e3);
    printThumbnailPhases(options, work);
    std::printf("its 4 textures as PNG files (--textures): %.1f KB; at %s: %.1f KB\n",
                static_cast<double>(textureBytes(options)) / 1e3, kBaselineCommit,
                static_cast<double>(kBaselineTextureBytes) / 1e3);
}

}  // namespace zelvane::bench
