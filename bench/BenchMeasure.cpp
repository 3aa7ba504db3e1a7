#include "BenchMeasure.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>
#include <vector>

#include "BenchProcess.h"
#include "mag5/Mag5Loader.h"
#include "obj/ObjWriter.h"

namespace zelvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

uint64_t fileSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

PhaseSample convertInPhases(const std::string& magPath, const std::string& outFolder) {
    PhaseSample phases;
    MeshStore store;
    auto start = Clock::now();
    if (loadMagFile(magPath, store).error) std::exit(4);
    phases.load = secondsSince(start);
    start = Clock::now();
    store.mergeDuplicates();
    phases.merge = secondsSince(start);
    start = Clock::now();
    store.groupByMaterial();
    phases.group = secondsSince(start);
    start = Clock::now();
    OutputSet outputs;
    if (!writeObj(outputs, {store, {}, outFolder + "/phases"}, [](size_t) {}) || !outputs.commit()) std::exit(5);
    phases.write = secondsSince(start);
    phases.outputBytes = fileSize(outFolder + "/phases.obj") + fileSize(outFolder + "/phases.mtl");
    phases.positions = store.positions.size();
    phases.normals = store.normals.size();
    phases.texcoords = store.texcoords.size();
    phases.materials = store.groups.size();
    phases.doubles = 3 * (phases.positions + phases.texcoords + phases.normals + phases.materials);
    return phases;
}

std::vector<double> modelLikeValues(uint64_t count) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-50.0f, 1500.0f);
    std::vector<double> values(count);
    for (double& value : values) value = coordinate(random);
    return values;
}

double formatAndWrite(const std::vector<double>& values, uint64_t bytes, const std::string& path) {
    const size_t chunk = size_t{1} << 20;
    std::vector<char> buffer(chunk + 512);
    const auto start = Clock::now();
    FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) std::exit(6);
    size_t used = 0;
    uint64_t written = 0;
    auto flush = [&] {
        std::fwrite(buffer.data(), 1, used, file);
        written += used;
        used = 0;
    };
    for (double value : values) {
        used = std::to_chars(buffer.data() + used, buffer.data() + buffer.size(), value, std::chars_format::fixed, 6)
                   .ptr - buffer.data();
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
}

}  // namespace

PhaseSample measurePhases(const std::string& magPath, const std::string& outFolder) {
    return inChild<PhaseSample>([&] { return convertInPhases(magPath, outFolder); });
}

double measureFloor(uint64_t doubles, uint64_t bytes, const std::string& path) {
    return inChild<double>([&] { return formatAndWrite(modelLikeValues(doubles), bytes, path); });
}

}  // namespace zelvane::bench
