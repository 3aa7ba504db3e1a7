// Conversion speed and memory on generated terrains, side by side with the
// floor (formatting the same number of doubles with std::to_chars and
// writing the same number of bytes) and with an OBJ export by assimp.
//
//   zelvane_bench [--sizes 100000,1000000,4000000] [--runs 5] [--dir /tmp/zelvane-bench]
//                 [--scene-size 100000]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "driver/Driver.h"
#include "export/Export.h"
#include "mag5/Mag5Loader.h"
#include "benchmodels/BenchModel.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Options {
    std::vector<uint32_t> sizes{100000, 1000000, 4000000};
    int runs = 5;
    std::string dir = "/tmp/zelvane-bench";
    uint32_t sceneSize = 100000;
    std::string zelvane;
};

// One converter run inside this program, phase by phase.
struct PhaseSample {
    double load = 0, merge = 0, group = 0, write = 0;
    double total() const { return load + merge + group + write; }
    long peakKb = 0;
    uint64_t outputBytes = 0;
    uint64_t doubles = 0;
};

// Runs work in a child process so that each measurement starts with fresh
// memory and gets its own peak; the child sends back a plain struct.
template <typename Result>
Result inChild(const std::function<Result()>& work, long* peakKb = nullptr) {
    int channel[2];
    std::fflush(stdout);
    if (pipe(channel) != 0) std::exit(3);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const Result result = work();
        if (write(channel[1], &result, sizeof result) != static_cast<ssize_t>(sizeof result)) _exit(3);
        _exit(0);
    }
    close(channel[1]);
    Result result{};
    if (read(channel[0], &result, sizeof result) != static_cast<ssize_t>(sizeof result)) std::exit(3);
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (peakKb != nullptr) *peakKb = usage.ru_maxrss;
    return result;
}

uint64_t fileSize(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? 0 : size;
}

PhaseSample measurePhases(const std::string& magPath, const std::string& outDir) {
    PhaseSample sample;
    long peak = 0;
    sample = inChild<PhaseSample>(
        [&] {
            PhaseSample phases;
            zelvane::MeshStore store;
            auto start = Clock::now();
            if (!zelvane::loadMagFile(magPath, store).error.empty()) std::exit(4);
            phases.load = secondsSince(start);
            start = Clock::now();
            store.mergeDuplicates();
            phases.merge = secondsSince(start);
            start = Clock::now();
            store.groupByMaterial();
            phases.group = secondsSince(start);
            start = Clock::now();
            std::ostringstream console;
            if (zelvane::writeObj(store, outDir + "/phases.obj", outDir + "/phases.mtl", console)) std::exit(5);
            phases.write = secondsSince(start);
            phases.outputBytes = fileSize(outDir + "/phases.obj") + fileSize(outDir + "/phases.mtl");
            phases.doubles = 3 * (store.positions.size() + store.texcoords.size() + store.normals.size() +
                                  store.groups.size());
            return phases;
        },
        &peak);
    sample.peakKb = peak;
    return sample;
}

struct Timed {
    double seconds = 0;
    long peakKb = 0;
    int status = 0;
};

Timed runCommand(const std::vector<std::string>& argv, const std::string& cwd) {
    std::fflush(stdout);
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        if (chdir(cwd.c_str()) != 0 || !std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr)) {
            _exit(127);
        }
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return {secondsSince(start), usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : 128};
}

// The floor: format `doubles` model-like values with std::to_chars into a
// large buffer and write `bytes` bytes in all, in large writes.
double measureFloor(uint64_t doubles, uint64_t bytes, const std::string& path) {
    return inChild<double>([&] {
        std::mt19937 random(7);
        std::uniform_real_distribution<float> coordinate(-50.0f, 1500.0f);
        std::vector<double> values(doubles);
        for (double& value : values) value = coordinate(random);
        const size_t chunk = size_t{1} << 20;
        std::vector<char> buffer(chunk + 512);
        const auto start = Clock::now();
        FILE* file = std::fopen(path.c_str(), "w");
        size_t used = 0;
        uint64_t written = 0;
        auto flush = [&] {
            std::fwrite(buffer.data(), 1, used, file);
            written += used;
            used = 0;
        };
        for (double value : values) {
            used = std::to_chars(buffer.data() + used, buffer.data() + buffer.size(), value,
                                 std::chars_format::fixed, 6).ptr - buffer.data();
            buffer[used++] = ' ';
            if (used >= chunk) flush();
        }
        flush();
        std::memset(buffer.data(), 'x', chunk);
        while (written < bytes) {
            used = static_cast<size_t>(std::min<uint64_t>(chunk, bytes - written));
            flush();
        }
        std::fclose(file);
        return secondsSince(start);
    });
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool haveAssimp() {
    return std::system("command -v assimp >/dev/null 2>&1") == 0;
}

std::string modelPath(const Options& options, uint32_t size, const char* extension) {
    return options.dir + "/terrain-" + std::to_string(size) + extension;
}

void ensureModel(const Options& options, uint32_t size) {
    const std::string mag = modelPath(options, size, ".mag");
    const std::string ply = modelPath(options, size, ".ply");
    if (fs::exists(mag) && fs::exists(ply)) return;
    std::printf("generating %s\n", mag.c_str());
    if (!zelvane::tools::writeBenchModel(zelvane::tools::ModelFamily::shared, size, {mag, ply})) {
        std::fprintf(stderr, "zelvane_bench: cannot write %s\n", mag.c_str());
        std::exit(2);
    }
}

void removeOutputs(const std::string& dir) {
    for (const auto& entry : fs::directory_iterator(dir)) {
        const auto extension = entry.path().extension();
        if (extension == ".obj" || extension == ".mtl" || extension == ".xml" || extension == ".out") {
            fs::remove(entry.path());
        }
    }
}

struct SizeResult {
    uint32_t size = 0;
    std::vector<PhaseSample> phases;
    std::vector<double> endToEnd, floor, assimp;
    std::vector<long> endToEndPeakKb;
};

// A warm-up, then runs rounds each of which runs the converter in process,
// the real binary, the floor and assimp once, one after the other.
SizeResult measureSize(const Options& options, uint32_t size, bool assimp) {
    ensureModel(options, size);
    const std::string work = options.dir + "/work";
    fs::create_directories(work);
    fs::copy_file(modelPath(options, size, ".mag"), work + "/model.mag", fs::copy_options::overwrite_existing);
    SizeResult result;
    result.size = size;
    for (int round = 0; round <= options.runs; ++round) {
        const PhaseSample phases = measurePhases(work + "/model.mag", work);
        const Timed run = runCommand({options.zelvane, "model.mag"}, work);
        const double floor = measureFloor(phases.doubles, phases.outputBytes, work + "/floor.out");
        const Timed reference =
            assimp ? runCommand({"assimp", "export", modelPath(options, size, ".ply"), work + "/assimp.obj"}, work)
                   : Timed{};
        removeOutputs(work);
        if (run.status != 0) {
            std::fprintf(stderr, "zelvane_bench: zelvane failed on %u polygons\n", size);
            std::exit(2);
        }
        if (round == 0) continue;  // warm-up
        result.phases.push_back(phases);
        result.endToEnd.push_back(run.seconds);
        result.endToEndPeakKb.push_back(run.peakKb);
        result.floor.push_back(floor);
        if (assimp) result.assimp.push_back(reference.seconds);
    }
    return result;
}

template <typename Field>
double medianOf(const std::vector<PhaseSample>& samples, Field field) {
    std::vector<double> values;
    for (const PhaseSample& sample : samples) values.push_back(field(sample));
    return median(values);
}

void printResult(const SizeResult& result) {
    const auto& samples = result.phases;
    const double load = medianOf(samples, [](const PhaseSample& s) { return s.load; });
    const double merge = medianOf(samples, [](const PhaseSample& s) { return s.merge; });
    const double group = medianOf(samples, [](const PhaseSample& s) { return s.group; });
    const double write = medianOf(samples, [](const PhaseSample& s) { return s.write; });
    const double endToEnd = median(result.endToEnd);
    const double floor = median(result.floor);
    const double megabytes = static_cast<double>(samples.front().outputBytes) / 1e6;
    std::vector<double> peaks;
    for (long kb : result.endToEndPeakKb) peaks.push_back(static_cast<double>(kb));
    const double peakBytes = median(peaks) * 1024.0;
    std::printf("%9u  %6.3f %6.3f %6.3f %6.3f  %7.3f  %7.3f  %5.2fx  %7.2f  %7.1f  %6.1f  %6.1f",
                result.size, load, merge, group, write, endToEnd, floor, endToEnd / floor,
                result.size / endToEnd / 1e6, megabytes / endToEnd, peakBytes / 1e6, peakBytes / result.size);
    if (!result.assimp.empty()) {
        const double assimp = median(result.assimp);
        std::printf("  %7.2f  %6.1fx", assimp, assimp / endToEnd);
    }
    std::printf("  %8.1f ns\n", endToEnd / result.size * 1e9);
}

void printSceneResult(const Options& options) {
    ensureModel(options, options.sceneSize);
    const std::string work = options.dir + "/scene";
    fs::create_directories(work);
    fs::copy_file(modelPath(options, options.sceneSize, ".mag"), work + "/model.mag",
                  fs::copy_options::overwrite_existing);
    std::vector<double> scene, floor;
    uint64_t bytes = 0;
    size_t files = 0;
    for (int round = 0; round <= options.runs; ++round) {
        const Timed run = runCommand({options.zelvane, "model.mag", "-quazo"}, work);
        bytes = 0;
        files = 0;
        for (const auto& entry : fs::directory_iterator(work)) {
            if (entry.path().extension() == ".obj" || entry.path().extension() == ".xml") {
                bytes += entry.file_size();
                ++files;
            }
        }
        removeOutputs(work);
        const double floorRun = measureFloor(0, bytes, work + "/floor.out");
        removeOutputs(work);
        if (round == 0) continue;
        scene.push_back(run.seconds);
        floor.push_back(floorRun);
    }
    std::printf("\nscene export, %u polygons: %zu files, %.1f MB in %.3f s; writing the same bytes: %.3f s (%.2fx)\n",
                options.sceneSize, files, static_cast<double>(bytes) / 1e6, median(scene), median(floor),
                median(scene) / median(floor));
}

Options parseOptions(int argc, char** argv) {
    Options options;
    options.zelvane = fs::absolute(fs::path(argv[0])).parent_path().parent_path().append("zelvane").string();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--runs") options.runs = std::max(1, std::atoi(value.c_str()));
        else if (name == "--dir") options.dir = value;
        else if (name == "--zelvane") options.zelvane = fs::absolute(value).string();
        else if (name == "--scene-size") options.sceneSize = static_cast<uint32_t>(std::stoul(value));
        else if (name == "--sizes") {
            options.sizes.clear();
            std::istringstream list(value);
            for (std::string item; std::getline(list, item, ',');) options.sizes.push_back(static_cast<uint32_t>(std::stoul(item)));
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    fs::create_directories(options.dir);
    const bool assimp = haveAssimp();
    std::vector<SizeResult> results;
    for (uint32_t size : options.sizes) results.push_back(measureSize(options, size, assimp));
    std::printf("\nMAG5 terrain to OBJ+MTL, medians of %d interleaved runs after a warm-up (seconds)\n", options.runs);
    std::printf("             in-process phases              end to end\n");
    std::printf(" polygons    load  merge  group  write    total    floor  /floor  Mpoly/s     MB/s  peak MB  B/poly%s   per poly\n",
                assimp ? "   assimp  speedup" : "");
    for (const SizeResult& result : results) printResult(result);
    if (!assimp) std::printf("(assimp not found: apt-get install assimp-utils for the comparison)\n");
    if (options.sceneSize > 0) printSceneResult(options);
    return 0;
}
