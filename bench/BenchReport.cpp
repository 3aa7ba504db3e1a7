#include "BenchReport.h"

#include <algorithm>
#include <cstdio>

namespace zelvane::bench {
namespace {

template <typename Field>
double medianOf(const std::vector<PhaseSample>& samples, Field field) {
    std::vector<double> values;
    for (const PhaseSample& sample : samples) values.push_back(static_cast<double>(field(sample)));
    return median(values);
}

// What the family's largest model holds after merging, per polygon.
void printContent(const FamilyResult& result) {
    const SizeResult& largest = result.sizes.back();
    const PhaseSample& sample = largest.phases.front();
    const double polygons = largest.polygons;
    std::printf("  after merging, per polygon at %u polygons: %.2f positions, %.2f texture coordinates, "
                "%.2f normals; %llu material%s\n",
                largest.polygons, static_cast<double>(sample.positions) / polygons,
                static_cast<double>(sample.texcoords) / polygons, static_cast<double>(sample.normals) / polygons,
                static_cast<unsigned long long>(sample.materials), sample.materials == 1 ? "" : "s");
}

void printHeader(const FamilyResult& result, int runs, bool assimpFound) {
    std::printf("\n%s: MAG5 to OBJ+MTL, medians of %d interleaved runs after a warm-up (seconds)\n",
                result.family.c_str(), runs);
    printContent(result);
    std::printf("             in-process phases              end to end\n");
    std::printf(" polygons    load  merge  group  write    total    floor  /floor  Mpoly/s     MB/s  peak MB"
                "  B/poly   per poly%s\n",
                assimpFound ? "    assimp runs  speed-up" : "");
}

void printRow(const SizeResult& result) {
    const auto& samples = result.phases;
    const double load = medianOf(samples, [](const PhaseSample& s) { return s.load; });
    const double merge = medianOf(samples, [](const PhaseSample& s) { return s.merge; });
    const double group = medianOf(samples, [](const PhaseSample& s) { return s.group; });
    const double write = medianOf(samples, [](const PhaseSample& s) { return s.write; });
    const double endToEnd = median(result.endToEnd);
    const double floor = median(result.floor);
    const double megabytes = static_cast<double>(samples.front().outputBytes) / 1e6;
    std::vector<double> peaks(result.peakKb.begin(), result.peakKb.end());
    const double peakBytes = median(peaks) * 1024.0;
    std::printf("%9u  %6.3f %6.3f %6.3f %6.3f  %7.3f  %7.3f  %5.2fx  %7.2f  %7.1f  %7.1f  %6.1f  %6.1f ns",
                result.polygons, load, merge, group, write, endToEnd, floor, endToEnd / floor,
                result.polygons / endToEnd / 1e6, megabytes / endToEnd, peakBytes / 1e6,
                peakBytes / result.polygons, endToEnd / result.polygons * 1e9);
    if (!result.assimp.empty()) {
        const double assimp = median(result.assimp);
        std::printf("  %8.2f  %4zu  %7.1fx", assimp, result.assimp.size(), assimp / endToEnd);
    }
    std::printf("\n");
}

}  // namespace

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void printFamilyTable(const FamilyResult& result, int runs, bool assimpFound) {
    if (result.sizes.empty()) return;
    printHeader(result, runs, assimpFound);
    for (const SizeResult& size : result.sizes) printRow(size);
    std::fflush(stdout);
}

}  // namespace zelvane::bench
