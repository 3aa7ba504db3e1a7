#include "Mag5Bench.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "BenchProcess.h"
#include "BenchReport.h"
#include "driver/ModelLoading.h"
#include "mag5write/Mag5Writer.h"

namespace zelvane::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Mag5Phases {
    double read = 0, prepare = 0, write = 0;
    uint64_t polygons = 0;
};

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

Mag5Phases writeInPhases(const std::string& glb, const std::string& base) {
    Mag5Phases phases;
    MeshStore store;
    auto start = Clock::now();
    if (!loadModel(glb, store).error.empty()) std::exit(4);
    phases.read = secondsSince(start);
    start = Clock::now();
    store.mergeDuplicates();
    store.groupByMaterial();
    phases.prepare = secondsSince(start);
    start = Clock::now();
    OutputSet outputs;
    if (!writeMag5(outputs, {store, {}, base}, [](size_t) {}) || !outputs.commit()) std::exit(5);
    phases.write = secondsSince(start);
    phases.polygons = store.polygons.size();
    return phases;
}

Timed runOrExit(const Mag5BenchOptions& options, const std::vector<std::string>& argv, const std::string& work) {
    const Timed run = runMeasured(options.helper, argv, work);
    if (run.status != 0) {
        std::fprintf(stderr, "zelvane_bench: %s failed in %s (status %d)\n", argv[0].c_str(), work.c_str(), run.status);
        std::exit(2);
    }
    return run;
}

}  // namespace

void printMag5Result(const Mag5BenchOptions& options) {
    const std::string work = options.dir + "/mag5";
    fs::create_directories(work);
    fs::remove(work + "/model.mag");
    fs::create_symlink(options.model, work + "/model.mag");
    runOrExit(options, {options.zelvane, "model.mag", "--glb"}, work);
    std::vector<double> read, prepare, write, mag5, obj;
    uint64_t polygons = 0;
    for (int round = 0; round <= options.runs; ++round) {
        const Mag5Phases phases = inChild<Mag5Phases>([&] { return writeInPhases(work + "/model.glb", work + "/phases"); });
        const Timed toMag5 = runOrExit(options, {options.zelvane, "model.glb", "--mag5", "--output-dir", "out"}, work);
        const Timed toObj = runOrExit(options, {options.zelvane, "model.glb", "--output-dir", "out"}, work);
        if (round == 0) continue;  // a warm-up
        read.push_back(phases.read);
        prepare.push_back(phases.prepare);
        write.push_back(phases.write);
        mag5.push_back(toMag5.seconds);
        obj.push_back(toObj.seconds);
        polygons = phases.polygons;
    }
    std::printf("\nMAG5 written from a .glb of %llu triangles (%s), medians of %d runs:\n"
                "  in one process: read .glb %.3f s, merge and group %.3f s, write MAG5 %.3f s\n"
                "  zelvane model.glb --mag5: %.3f s; zelvane model.glb (OBJ): %.3f s\n",
                static_cast<unsigned long long>(polygons), fs::path(options.model).filename().c_str(), options.runs,
                median(read), median(prepare), median(write), median(mag5), median(obj));
    fs::remove_all(work);
}

}  // namespace zelvane::bench
