#include "GameFolderBench.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "BenchProcess.h"
#include "BenchReport.h"
#include "GameFolderBaseline.h"
#include "benchmodels/BenchModel.h"
#include "imagewriter/FileSave.h"
#include "imagewriter/PcxWriter.h"
#include "os/Folders.h"

namespace zelvane::bench {
namespace {

namespace fs = std::filesystem;
using tools::ModelFamily;

constexpr int kModels = 400;
constexpr int kSubFolders = 7;
constexpr int kTextures = 60;

uint32_t draw(std::mt19937& random, uint32_t below) {
    return static_cast<uint32_t>(random() % below);
}

// An 8-bit paletted texture of 64 to 512 pixels a side: tiles with grain,
// as a game's stone, wood or metal, in a palette of shades of one colour.
Image textureImage(int index) {
    static constexpr uint32_t kSides[] = {64, 64, 64, 128, 128, 128, 256, 256, 256, 512};
    Image image;
    image.width = image.height = kSides[index % 10];
    image.format = PixelFormat::kPaletted;
    for (int shade = 0; shade < 256; ++shade) {
        image.palette.push_back({static_cast<uint8_t>(shade * (index % 3 + 1) / 3),
                                 static_cast<uint8_t>(shade * (index % 5 + 2) / 6), static_cast<uint8_t>(shade / 2)});
    }
    std::mt19937 random(static_cast<uint32_t>(index));
    const uint32_t tile = 8u << (index % 3);
    for (uint32_t y = 0; y < image.height; ++y) {
        for (uint32_t x = 0; x < image.width; ++x) {
            const bool mortar = x % tile == 0 || y % tile == 0;
            const uint32_t base = mortar ? 40 : 120 + ((x / tile + y / tile) * 37) % 90;
            image.pixels.push_back(static_cast<uint8_t>(base + draw(random, 24)));
        }
    }
    return image;
}

std::string textureName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "tex%02d.pcx", index);
    return name;
}

// Most models are props of under a thousand polygons, a quarter up to ten
// thousand and a few levels up to sixty thousand.
uint32_t polygonsOf(std::mt19937& random) {
    const uint32_t kind = draw(random, 100);
    if (kind < 70) return 20 + draw(random, 980);
    if (kind < 95) return 1'000 + draw(random, 9'000);
    return 10'000 + draw(random, 50'000);
}

struct FolderContent {
    int models = 0;
    uint64_t polygons = 0;
};

[[noreturn]] void failWrite(const std::string& path) {
    std::fprintf(stderr, "zelvane_bench: cannot write %s\n", path.c_str());
    std::exit(2);
}

// The models in sub-folders, each naming textures of the shared folder.
FolderContent writeModels(const std::string& game) {
    std::mt19937 random(2024);
    FolderContent content;
    for (int model = 0; model < kModels; ++model) {
        const ModelFamily family = tools::allFamilies()[draw(random, 3)];
        tools::BenchModelFiles files{game + "/area" + std::to_string(model % kSubFolders), "", {}};
        fs::create_directories(files.magPath);
        files.magPath += "/model" + std::to_string(model) + ".mag";
        const int first = static_cast<int>(draw(random, kTextures));
        for (size_t texture = 0; texture < tools::textureCount(family); ++texture) {
            files.textureNames.push_back(textureName((first + static_cast<int>(texture) * 7) % kTextures));
        }
        const uint32_t polygons = polygonsOf(random);
        if (!inChild<bool>([&] { return tools::writeBenchModel(family, polygons, files); })) failWrite(files.magPath);
        ++content.models;
        content.polygons += polygons;
    }
    return content;
}

// The folder, made anew for each benchmark (a few seconds): its models and
// textures.
FolderContent prepareFolder(const std::string& game) {
    fs::remove_all(game);
    fs::create_directories(game + "/textures");
    for (int texture = 0; texture < kTextures; ++texture) {
        const std::string path = game + "/textures/" + textureName(texture);
        if (!tools::saveBytes(path, tools::encodePcx(textureImage(texture), tools::PcxWriteForm::kIndexed))) {
            failWrite(path);
        }
    }
    return writeModels(game);
}

struct GameRun {
    const char* what;
    std::vector<std::string> options;
};

const std::vector<GameRun>& gameRuns() {
    static const std::vector<GameRun> runs{
        {"--glb, no textures", {}},
        {"--texture-dir", {"--texture-dir", "game/textures"}},
        {"  + --preview", {"--texture-dir", "game/textures", "--preview"}},
        {"  + --gallery", {"--texture-dir", "game/textures", "--preview", "--gallery", "out/index.html"}},
    };
    return runs;
}

double runOnce(const GameFolderBenchOptions& options, const std::string& work, const GameRun& run) {
    fs::remove_all(work + "/out");
    std::vector<std::string> argv{options.zelvane, "--each", "game", "--output-dir", "out", "--glb"};
    argv.insert(argv.end(), run.options.begin(), run.options.end());
    const Timed timed = runMeasured(options.helper, argv, work);
    if (timed.status != 0) {
        std::fprintf(stderr, "zelvane_bench: %s failed in %s (status %d)\n", run.what, work.c_str(), timed.status);
        std::exit(2);
    }
    return timed.seconds;
}

}  // namespace

void printGameFolderResult(const GameFolderBenchOptions& options) {
    const std::string work = options.dir + "/game-folder";
    std::fprintf(stderr, "writing the game folder in %s\n", work.c_str());
    const FolderContent content = prepareFolder(work + "/game");
    const std::vector<GameRun>& runs = gameRuns();
    std::vector<std::vector<double>> seconds(runs.size());
    for (int round = 0; round <= options.runs; ++round) {  // round 0 warms up
        for (size_t run = 0; run < runs.size(); ++run) {
            const double time = runOnce(options, work, runs[run]);
            if (round > 0) seconds[run].push_back(time);
        }
    }
    std::vector<double> medians;
    for (const std::vector<double>& times : seconds) medians.push_back(median(times));
    std::printf("\ngame folder: --each game --output-dir out --glb over %d models in %d folders, %.2fM polygons, "
                "%d shared 8-bit PCX textures (%u cores), medians of %d interleaved runs:\n",
                content.models, kSubFolders, static_cast<double>(content.polygons) / 1e6, kTextures,
                availableCores(), options.runs);
    std::printf("                      seconds  models/s   at %s: seconds  models/s\n", kGameFolderBaselineCommit);
    for (size_t run = 0; run < runs.size(); ++run) {
        const double before = kGameFolderBaselineSeconds[run];
        std::printf("  %-18s %8.3f  %8.0f              %8.3f  %8.0f\n", runs[run].what, medians[run],
                    content.models / medians[run], before, content.models / before);
    }
    const auto ratio = [](double a, double b) { return a / b; };
    const double* before = kGameFolderBaselineSeconds;
    std::printf("  textures / no textures:           %5.2fx   at %s: %5.2fx\n", ratio(medians[1], medians[0]),
                kGameFolderBaselineCommit, ratio(before[1], before[0]));
    std::printf("  preview + gallery / textures:     %5.2fx   at %s: %5.2fx\n", ratio(medians[3], medians[1]),
                kGameFolderBaselineCommit, ratio(before[3], before[1]));
}

}  // namespace zelvane::bench
