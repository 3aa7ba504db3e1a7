#include "ThumbnailPhases.h"

#include <chrono>
#include <cstdlib>
#include <vector>

#include "BenchProcess.h"
#include "BenchReport.h"
#include "image/ImageCodec.h"
#include "mag5/Mag5Loader.h"
#include "os/Folders.h"
#include "output/OutputSet.h"
#include "picture/Picture.h"
#include "picture/PictureWriter.h"
#include "textures/TexturePreparation.h"

namespace zelvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Prepared {
    MeshStore store;
    TextureFiles textures;
};

void loadHouse(const std::string& folder, Prepared& house, ThumbnailPhases& phases) {
    auto start = Clock::now();
    if (loadMagFile(folder + "/house.mag", house.store).error) std::exit(4);
    house.store.mergeDuplicates();
    house.store.groupByMaterial();
    phases.load = secondsSince(start);
    start = Clock::now();
    TextureSearch search;
    search.modelFolders.assign(house.store.textures.size(), folder + "/");
    search.outputFolder = folder + "/";
    search.keepDecoded = true;
    search.onlyDecoded = true;
    std::vector<TextureWarning> warnings;
    house.textures = prepareTextureFiles(house.store, search, warnings);
    phases.textures = secondsSince(start);
}

std::vector<const Image*> imagesOf(const Prepared& house) {
    std::vector<const Image*> images(house.store.textures.size(), nullptr);
    for (uint32_t texture = 0; texture < images.size(); ++texture) {
        const TextureFile* file = house.textures.fileFor(texture);
        images[texture] = file != nullptr ? &file->decoded() : nullptr;
    }
    return images;
}

// Drawn into memory and then compressed, each timed alone.
ThumbnailPhases drawThenCompress(const std::string& folder) {
    ThumbnailPhases phases;
    Prepared house;
    loadHouse(folder, house, phases);
    auto start = Clock::now();
    const Image picture = renderPicture(house.store, imagesOf(house), 512, availableCores());
    phases.draw = secondsSince(start);
    start = Clock::now();
    if (encodePng(picture, PngEffort::kQuick).empty()) std::exit(5);
    phases.png = secondsSince(start);
    return phases;
}

ThumbnailPhases writeAsTheConverter(const std::string& folder) {
    ThumbnailPhases phases;
    Prepared house;
    loadHouse(folder, house, phases);
    const auto start = Clock::now();
    OutputSet outputs;
    const std::string path = folder + "/phases.png";
    if (!writePicture(outputs, {house.store, house.textures, path}, path, 512, availableCores()) || !outputs.commit()) {
        std::exit(5);
    }
    phases.written = secondsSince(start);
    return phases;
}

}  // namespace

ThumbnailPhases measureThumbnailPhases(const std::string& houseFolder, int runs) {
    std::vector<double> load, textures, draw, png, written;
    for (int run = 0; run < runs; ++run) {
        const ThumbnailPhases apart = inChild<ThumbnailPhases>([&] { return drawThenCompress(houseFolder); });
        const ThumbnailPhases together = inChild<ThumbnailPhases>([&] { return writeAsTheConverter(houseFolder); });
        load.push_back(apart.load);
        textures.push_back(apart.textures);
        draw.push_back(apart.draw);
        png.push_back(apart.png);
        written.push_back(together.written);
    }
    return {median(load), median(textures), median(draw), median(png), median(written)};
}

}  // namespace zelvane::bench
