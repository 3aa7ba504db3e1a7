// Conversion speed and memory on generated models of three families (see
// tools/benchmodels/BenchModel.h), side by side with the floor (formatting
// the same number of doubles with std::to_chars and writing the same number
// of bytes) and with an OBJ export of the same mesh by assimp. Beside the
// OBJ figures, the same models converted with --glb (time, peak memory and
// file size) and with --preview (what drawing the 512 x 512 picture adds,
// and its size beside the size before PNG files were compressed with zlib).
//
//   zelvane_bench [--families shared,smooth,flat] [--sizes 100000,250000,1000000,4000000] [--runs 5]
//                 [--assimp-seconds 30] [--dir /tmp/zelvane-bench] [--scene-size 100000]
//                 [--mag5-size 1000000] [--batch-runs 3] [--game-runs 5] [--only game-folder]
//                 [--zelvane PATH]
//
// Then a smooth model of --mag5-size polygons as .glb written back as MAG5
// (0 leaves it out), the sample house drawn alone with --thumbnail 512, and last a folder
// of 208 models converted with --each against the same conversions one
// after another (--batch-runs 0 leaves it out), and a game folder of 400
// models sharing 60 textures converted with --each, with and without the
// textures, pictures and gallery (--game-runs 0 leaves it out; --only
// game-folder runs it alone).
//
// assimp is ten times slower than the converter or more, and five runs of it
// on every model would take more than half an hour. It runs in the
// measured rounds until its runs on a model have taken --assimp-seconds, at
// least once; the tables say how many runs its median comes from.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "BatchBench.h"
#include "GameFolderBench.h"
#include "Mag5Bench.h"
#include "PictureBaseline.h"
#include "PictureBench.h"
#include "BenchMeasure.h"
#include "BenchProcess.h"
#include "BenchReport.h"
#include "benchmodels/BenchModel.h"

namespace {

namespace fs = std::filesystem;
using zelvane::bench::FamilyResult;
using zelvane::bench::SizeResult;
using zelvane::bench::Timed;
using zelvane::tools::ModelFamily;

// Part of the model file names: raise it when the generator changes what it
// writes, so that models left in --dir by an earlier version are not reused.
constexpr int kModelGeneration = 2;

struct Options {
    std::vector<ModelFamily> families = zelvane::tools::allFamilies();
    std::vector<uint32_t> sizes{100000, 250000, 1000000, 4000000};
    int runs = 5;
    double assimpSeconds = 30;
    std::string dir = "/tmp/zelvane-bench";
    uint32_t sceneSize = 100000;
    uint32_t mag5Size = 1000000;
    int batchRuns = 3;
    int gameRuns = 5;
    bool thumbnail = true;
    std::string zelvane;
    std::string helper = ZELVANE_MEASURE_RUN;
};

std::vector<std::string> splitList(const std::string& list) {
    std::vector<std::string> items;
    std::istringstream stream(list);
    for (std::string item; std::getline(stream, item, ',');) items.push_back(item);
    return items;
}

[[noreturn]] void failUsage(const std::string& why) {
    std::fprintf(stderr,
                 "zelvane_bench: %s\nusage: zelvane_bench [--families shared,smooth,flat] [--sizes N,...] [--runs N]"
                 " [--assimp-seconds S] [--dir DIR] [--scene-size N] [--mag5-size N] [--batch-runs N] [--game-runs N]"
                 " [--only game-folder] [--zelvane PATH]\n",
                 why.c_str());
    std::exit(1);
}

void applyOption(Options& options, const std::string& name, const std::string& value) {
    if (name == "--runs") options.runs = std::max(1, std::atoi(value.c_str()));
    else if (name == "--assimp-seconds") options.assimpSeconds = std::atof(value.c_str());
    else if (name == "--dir") options.dir = value;
    else if (name == "--zelvane") options.zelvane = value;
    else if (name == "--scene-size") options.sceneSize = static_cast<uint32_t>(std::stoul(value));
    else if (name == "--mag5-size") options.mag5Size = static_cast<uint32_t>(std::stoul(value));
    else if (name == "--batch-runs") options.batchRuns = std::max(0, std::atoi(value.c_str()));
    else if (name == "--game-runs") options.gameRuns = std::max(0, std::atoi(value.c_str()));
    else if (name == "--only" && value == "game-folder") {
        options.families.clear();
        options.sceneSize = options.mag5Size = 0;
        options.batchRuns = 0;
        options.thumbnail = false;
    }
    else if (name == "--sizes") {
        options.sizes.clear();
        for (const std::string& item : splitList(value)) options.sizes.push_back(static_cast<uint32_t>(std::stoul(item)));
    } else if (name == "--families") {
        options.families.clear();
        for (const std::string& item : splitList(value)) {
            const auto family = zelvane::tools::parseFamily(item);
            if (!family) failUsage("no model family " + item);
            options.families.push_back(*family);
        }
    } else {
        failUsage("unknown option " + name);
    }
}

Options parseOptions(int argc, char** argv) {
    Options options;
    const fs::path programFolder = fs::absolute(fs::path(argv[0])).parent_path();
    options.zelvane = (programFolder.parent_path() / "zelvane").string();
    if (argc % 2 == 0) failUsage("every option takes a value");
    try {
        for (int i = 1; i + 1 < argc; i += 2) applyOption(options, argv[i], argv[i + 1]);
    } catch (const std::exception&) {
        failUsage(std::string("bad value for ") + argv[argc - 2]);
    }
    options.dir = fs::absolute(options.dir).string();
    options.zelvane = fs::absolute(options.zelvane).string();
    return options;
}

struct ModelPaths {
    std::string mag, ply;
};

ModelPaths modelPaths(const Options& options, ModelFamily family, uint32_t polygons) {
    const std::string stem = options.dir + "/" + std::string(zelvane::tools::familyName(family)) + "-" +
                             std::to_string(polygons) + "-g" + std::to_string(kModelGeneration);
    return {stem + ".mag", stem + ".ply"};
}

// Generates the model and its PLY under temporary names, in a child process
// that leaves no memory behind, and renames them into place when complete.
ModelPaths ensureModel(const Options& options, ModelFamily family, uint32_t polygons) {
    const ModelPaths paths = modelPaths(options, family, polygons);
    if (fs::exists(paths.mag) && fs::exists(paths.ply)) return paths;
    std::fprintf(stderr, "generating %s\n", paths.mag.c_str());
    const zelvane::tools::BenchModelFiles parts{paths.mag + ".part", paths.ply + ".part", {}};
    const bool written = zelvane::bench::inChild<bool>(
        [&] { return zelvane::tools::writeBenchModel(family, polygons, parts); });
    if (!written) {
        std::fprintf(stderr, "zelvane_bench: cannot write %s\n", parts.magPath.c_str());
        std::exit(2);
    }
    fs::rename(parts.plyPath, paths.ply);
    fs::rename(parts.magPath, paths.mag);
    return paths;
}

// The converter writes its outputs beside the model: a link to the model in
// a folder of its own keeps them out of --dir.
void prepareWorkFolder(const std::string& folder, const std::string& magPath) {
    fs::create_directories(folder);
    const std::string link = folder + "/model.mag";
    fs::remove(link);
    fs::create_symlink(magPath, link);
}

void removeOutputs(const std::string& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const auto extension = entry.path().extension();
        if (extension == ".obj" || extension == ".mtl" || extension == ".xml" || extension == ".out" ||
            extension == ".glb" || extension == ".png") {
            fs::remove(entry.path());
        }
    }
}

Timed runZelvane(const Options& options, const std::string& work, const std::string& option = "") {
    std::vector<std::string> argv{options.zelvane, "model.mag"};
    if (!option.empty()) argv.push_back(option);
    const Timed run = zelvane::bench::runMeasured(options.helper, argv, work);
    if (run.status != 0) {
        std::fprintf(stderr, "zelvane_bench: %s failed on %s (status %d)\n", options.zelvane.c_str(), work.c_str(),
                     run.status);
        std::exit(2);
    }
    return run;
}

// The --glb runs of one model size, and the OBJ runs with --preview,
// beside the OBJ ones.
struct GlbResult {
    uint32_t polygons = 0;
    std::vector<double> glb, obj, preview;  // end to end
    std::vector<long> peakKb, objPeakKb, previewPeakKb;
    uint64_t glbBytes = 0, objMtlBytes = 0, previewBytes = 0;
};

uint64_t fileSize(const std::string& path) {
    return fs::exists(path) ? static_cast<uint64_t>(fs::file_size(path)) : 0;
}

// One round: the converter in process, the binary, the floor, the binary
// with --glb and, while its budget lasts, assimp, one after the other.
void runRound(const Options& options, const ModelPaths& model, const std::string& work, bool assimp,
              SizeResult* result, GlbResult* glb) {
    const zelvane::bench::PhaseSample phases = zelvane::bench::measurePhases(work + "/model.mag", work);
    const Timed run = runZelvane(options, work);
    const uint64_t objMtlBytes = fileSize(work + "/model.obj") + fileSize(work + "/model.mtl");
    const double floor = zelvane::bench::measureFloor(phases.doubles, phases.outputBytes, work + "/floor.out");
    removeOutputs(work);
    const Timed glbRun = runZelvane(options, work, "--glb");
    const uint64_t glbBytes = fileSize(work + "/model.glb");
    removeOutputs(work);
    const Timed previewRun = runZelvane(options, work, "--preview");
    const uint64_t previewBytes = fileSize(work + "/model.preview.png");
    removeOutputs(work);
    if (result == nullptr) return;  // warm-up
    glb->preview.push_back(previewRun.seconds);
    glb->previewPeakKb.push_back(previewRun.peakKb);
    glb->objPeakKb.push_back(run.peakKb);
    glb->glb.push_back(glbRun.seconds);
    glb->obj.push_back(run.seconds);
    glb->peakKb.push_back(glbRun.peakKb);
    glb->glbBytes = glbBytes;
    glb->objMtlBytes = objMtlBytes;
    glb->previewBytes = previewBytes;
    result->phases.push_back(phases);
    result->endToEnd.push_back(run.seconds);
    result->peakKb.push_back(run.peakKb);
    result->floor.push_back(floor);
    double spent = 0;
    for (double seconds : result->assimp) spent += seconds;
    if (!assimp || (!result->assimp.empty() && spent >= options.assimpSeconds)) return;
    const Timed reference =
        zelvane::bench::runMeasured(options.helper, {"assimp", "export", model.ply, work + "/assimp.obj"}, work);
    removeOutputs(work);
    if (reference.status == 0) result->assimp.push_back(reference.seconds);
    else std::fprintf(stderr, "zelvane_bench: assimp failed on %s (status %d)\n", model.ply.c_str(), reference.status);
}

SizeResult measureSize(const Options& options, ModelFamily family, uint32_t polygons, bool assimp, GlbResult& glb) {
    const ModelPaths model = ensureModel(options, family, polygons);
    std::fprintf(stderr, "measuring %s, %u polygons\n", std::string(zelvane::tools::familyName(family)).c_str(),
                 polygons);
    const std::string work = options.dir + "/work";
    prepareWorkFolder(work, model.mag);
    SizeResult result;
    result.polygons = polygons;
    glb.polygons = polygons;
    runRound(options, model, work, assimp, nullptr, nullptr);
    for (int round = 1; round <= options.runs; ++round) runRound(options, model, work, assimp, &result, &glb);
    return result;
}

void printGlbTable(const std::string& family, const std::vector<GlbResult>& results) {
    std::printf("%s: --glb, end to end, medians of the same rounds\n", family.c_str());
    std::printf(" polygons   glb s   obj s  glb/obj  peak MB  B/poly   glb MB  obj+mtl MB  glb/(obj+mtl)\n");
    for (const GlbResult& result : results) {
        const double glb = zelvane::bench::median(result.glb), obj = zelvane::bench::median(result.obj);
        std::vector<double> peaks;
        for (long kb : result.peakKb) peaks.push_back(static_cast<double>(kb));
        const double peakBytes = zelvane::bench::median(peaks) * 1024.0;
        std::printf("%9u  %6.3f  %6.3f   %5.2fx  %7.1f  %6.1f  %7.1f  %10.1f  %12.2fx\n", result.polygons, glb, obj,
                    glb / obj, peakBytes / 1e6, peakBytes / result.polygons,
                    static_cast<double>(result.glbBytes) / 1e6, static_cast<double>(result.objMtlBytes) / 1e6,
                    static_cast<double>(result.glbBytes) / static_cast<double>(result.objMtlBytes));
    }
    std::fflush(stdout);
}

double medianMegabytes(const std::vector<long>& kilobytes) {
    std::vector<double> values;
    for (long kb : kilobytes) values.push_back(static_cast<double>(kb));
    return zelvane::bench::median(values) * 1024.0 / 1e6;
}

// The picture's size at the baseline commit, or "-" for a model it was not
// measured on.
std::string baselinePicture(const std::string& family, uint32_t polygons) {
    const std::optional<uint64_t> bytes = zelvane::bench::baselinePreviewBytes(family, polygons);
    if (!bytes) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(*bytes) / 1e3);
    return text;
}

void printPreviewTable(const std::string& family, const std::vector<GlbResult>& results) {
    std::printf("%s: OBJ with --preview (a 512 x 512 picture), end to end, medians of the same rounds\n",
                family.c_str());
    std::printf(" polygons   obj s  +preview s  added  obj peak MB  +preview peak MB  picture KB  at %s KB\n",
                zelvane::bench::kBaselineCommit);
    for (const GlbResult& result : results) {
        const double obj = zelvane::bench::median(result.obj), preview = zelvane::bench::median(result.preview);
        std::printf("%9u  %6.3f  %10.3f  %4.0f%%  %11.1f  %16.1f  %10.1f  %13s\n", result.polygons, obj, preview,
                    100.0 * (preview / obj - 1.0), medianMegabytes(result.objPeakKb),
                    medianMegabytes(result.previewPeakKb), static_cast<double>(result.previewBytes) / 1e3,
                    baselinePicture(family, result.polygons).c_str());
    }
    std::fflush(stdout);
}

void printSceneResult(const Options& options) {
    const ModelPaths model = ensureModel(options, ModelFamily::shared, options.sceneSize);
    const std::string work = options.dir + "/scene";
    prepareWorkFolder(work, model.mag);
    std::vector<double> scene, floor;
    uint64_t bytes = 0;
    size_t files = 0;
    for (int round = 0; round <= options.runs; ++round) {
        const Timed run = runZelvane(options, work, "-quazo");
        bytes = 0;
        files = 0;
        for (const auto& entry : fs::directory_iterator(work)) {
            if (entry.path().extension() == ".obj" || entry.path().extension() == ".xml") {
                bytes += entry.file_size();
                ++files;
            }
        }
        removeOutputs(work);
        const double floorRun = zelvane::bench::measureFloor(0, bytes, work + "/floor.out");
        removeOutputs(work);
        if (round == 0) continue;
        scene.push_back(run.seconds);
        floor.push_back(floorRun);
    }
    const double sceneSeconds = zelvane::bench::median(scene), floorSeconds = zelvane::bench::median(floor);
    std::printf("\nscene export, shared, %u polygons: %zu files, %.1f MB in %.3f s; writing the same bytes: %.3f s "
                "(%.2fx)\n",
                options.sceneSize, files, static_cast<double>(bytes) / 1e6, sceneSeconds, floorSeconds,
                sceneSeconds / floorSeconds);
}

}  // namespace

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    const Options options = parseOptions(argc, argv);
    fs::create_directories(options.dir);
    const bool assimp = std::system("command -v assimp >/dev/null 2>&1") == 0;
    for (ModelFamily family : options.families) {
        FamilyResult result{std::string(zelvane::tools::familyName(family)), {}};
        std::vector<GlbResult> glb(options.sizes.size());
        for (size_t size = 0; size < options.sizes.size(); ++size) {
            result.sizes.push_back(measureSize(options, family, options.sizes[size], assimp, glb[size]));
        }
        zelvane::bench::printFamilyTable(result, options.runs, assimp);
        printGlbTable(result.family, glb);
        printPreviewTable(result.family, glb);
    }
    if (!assimp && !options.families.empty()) std::printf("(assimp not found: apt-get install assimp-utils for the comparison)\n");
    if (options.sceneSize > 0) printSceneResult(options);
    if (options.mag5Size > 0) {
        zelvane::bench::printMag5Result({options.zelvane, options.helper,
                                         ensureModel(options, ModelFamily::smooth, options.mag5Size).mag, options.dir,
                                         options.runs});
    }
    if (options.thumbnail) {
        zelvane::bench::printThumbnailResult({options.zelvane, options.helper, options.dir, options.runs});
    }
    if (options.batchRuns > 0) {
        zelvane::bench::printBatchResult({options.zelvane, options.helper, options.dir, options.batchRuns});
    }
    if (options.gameRuns > 0) {
        zelvane::bench::printGameFolderResult({options.zelvane, options.helper, options.dir, options.gameRuns});
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("\nbenchmark run time: %.0f s\n", seconds);
    return 0;
}
