#include "BatchBench.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "BenchProcess.h"
#include "BenchReport.h"
#include "benchmodels/BenchModel.h"
#include "os/Folders.h"

namespace zelvane::bench {
namespace {

namespace fs = std::filesystem;
using tools::ModelFamily;

constexpr int kSmallModels = 200;
constexpr uint32_t kSmallPolygons = 5'000;  // a prop: flat shaded, textured
constexpr int kLargeModels = 8;
constexpr uint32_t kLargePolygons = 500'000;  // a level: smooth

std::string generate(const std::string& dir, ModelFamily family, uint32_t polygons) {
    const std::string path = dir + "/" + std::string(tools::familyName(family)) + "-" + std::to_string(polygons) + ".mag";
    if (!fs::exists(path)) {
        const bool written = inChild<bool>([&] { return tools::writeBenchModel(family, polygons, {path, "", {}}); });
        if (!written) {
            std::fprintf(stderr, "zelvane_bench: cannot write %s\n", path.c_str());
            std::exit(2);
        }
    }
    return path;
}

// A folder of links to the two models: the small ones first, by name.
std::vector<std::string> prepareFolder(const std::string& folder, const std::string& small, const std::string& large) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::vector<std::string> names;
    const auto add = [&](const std::string& target, const char* prefix, int index) {
        char name[32];
        std::snprintf(name, sizeof name, "%s-%03d.mag", prefix, index);
        fs::create_symlink(target, folder + "/" + name);
        names.push_back(name);
    };
    for (int index = 0; index < kSmallModels; ++index) add(small, "prop", index);
    for (int index = 0; index < kLargeModels; ++index) add(large, "zone", index);
    return names;
}

double runOrExit(const BatchBenchOptions& options, const std::vector<std::string>& argv, const std::string& cwd) {
    const Timed run = runMeasured(options.helper, argv, cwd);
    if (run.status != 0) {
        std::fprintf(stderr, "zelvane_bench: %s failed in %s (status %d)\n", argv[1].c_str(), cwd.c_str(), run.status);
        std::exit(2);
    }
    return run.seconds;
}

// Every model converted by a process of its own, one after another, as a
// shell loop would.
double convertOneByOne(const BatchBenchOptions& options, const std::string& folder,
                       const std::vector<std::string>& names) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& name : names) {
        runOrExit(options, {options.zelvane, name}, folder);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

void printBatchResult(const BatchBenchOptions& options) {
    const std::string models = options.dir + "/batch";
    fs::create_directories(models);
    const std::string small = generate(models, ModelFamily::flat, kSmallPolygons);
    const std::string large = generate(models, ModelFamily::smooth, kLargePolygons);
    const std::string folder = models + "/game";
    const std::vector<std::string> names = prepareFolder(folder, small, large);
    std::vector<double> oneByOne, each;
    for (int round = 0; round <= options.runs; ++round) {  // round 0 warms up
        const double sequential = convertOneByOne(options, folder, names);
        const double together = runOrExit(options, {options.zelvane, "--each", "."}, folder);
        if (round > 0) {
            oneByOne.push_back(sequential);
            each.push_back(together);
        }
    }
    const double sequential = median(oneByOne);
    const double together = median(each);
    std::printf("\n--each over %d models of %u polygons and %d of %u (%u cores), medians of %d runs:\n"
                "  one process per model, one after another  %7.3f s\n"
                "  --each                                   %7.3f s   %.2fx faster\n",
                kSmallModels, kSmallPolygons, kLargeModels, kLargePolygons, availableCores(), options.runs,
                sequential, together, sequential / together);
}

}  // namespace zelvane::bench
