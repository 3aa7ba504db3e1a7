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

// How the time per polygon grows from 250,000 polygons (or the smallest
// model above) to each larger model, end to end and for the floor, which
// writes the same bytes: where the floor grows too, so does the machine's
// cost of writing a large file.
void printGrowth(const FamilyResult& result) {
    constexpr uint32_t kGrowthFrom = 250000;
    const auto first = std::find_if(result.sizes.begin(), result.sizes.end(),
                                    [](const SizeResult& size) { return size.polygons >= kGrowthFrom; });
    if (first == result.sizes.end() || first + 1 == result.sizes.end()) return;
    auto growth = [&](const SizeResult& size, auto times) {
        return 100 * (median(size.*times) / size.polygons / (median((*first).*times) / first->polygons) - 1);
    };
    std::printf("  time per polygon against %u polygons:", first->polygons);
    for (auto size = first + 1; size != result.sizes.end(); ++size) {
        std::printf("%s %u: %+.0f %% (floor %+.0f %%)", size == first + 1 ? "" : ",", size->polygons,
                    growth(*size, &SizeResult::endToEnd), growth(*size, &SizeResult::floor));
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
    printGrowth(result);
    std::fflush(stdout);
}

}  // namespace zelvane::bench
