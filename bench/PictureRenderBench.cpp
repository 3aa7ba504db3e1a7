// How long a picture takes: the sample house, and generated models of a
// million polygons of each family (see tools/benchmodels/BenchModel.h), at
// 512 x 512 with one and two threads; the best of several runs each.
//   picture_bench <examples folder> <scratch folder>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "benchmodels/BenchModel.h"
#include "loadedmodel/LoadedModel.h"
#include "picture/Picture.h"

namespace {

using zelvane::tools::LoadedModel;

constexpr uint32_t kSide = 512;
constexpr uint32_t kLargePolygons = 1000000;

double bestMilliseconds(const LoadedModel& model, unsigned threads, int runs) {
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const zelvane::Image picture = zelvane::renderPicture(model.store, model.imageOfTexture, kSide, threads);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void report(const char* name, const LoadedModel& model, int runs) {
    std::printf("%-14s %8zu polygons  1 thread %8.2f ms  2 threads %8.2f ms\n", name, model.store.polygons.size(),
                bestMilliseconds(model, 1, runs), bestMilliseconds(model, 2, runs));
}

void reportGenerated(zelvane::tools::ModelFamily family, const std::string& scratch) {
    const std::string path = scratch + "/picture-bench-" + std::string(zelvane::tools::familyName(family)) + ".mag";
    if (!zelvane::tools::writeBenchModel(family, kLargePolygons, {path, "", {}})) {
        std::fprintf(stderr, "picture_bench: cannot write %s\n", path.c_str());
        return;
    }
    const auto model = zelvane::tools::loadModel(path, scratch);
    std::filesystem::remove(path);
    report(std::string(zelvane::tools::familyName(family)).c_str(), *model, 5);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: picture_bench <examples folder> <scratch folder>\n");
        return 1;
    }
    const std::string examples = argv[1];
    std::printf("pictures of %u x %u pixels, best of several runs\n", kSide, kSide);
    report("house", *zelvane::tools::loadModel(examples + "/house.mag", examples), 50);
    reportGenerated(zelvane::tools::ModelFamily::smooth, argv[2]);
    reportGenerated(zelvane::tools::ModelFamily::flat, argv[2]);
    reportGenerated(zelvane::tools::ModelFamily::shared, argv[2]);
    return 0;
}
