// libFuzzer target: any bytes as an OBJ file with its MTL library, or as a
// glTF file (.glb or .gltf, as the content says), read into the store, then
// merged, grouped and written as MAG5 with the images the model holds made
// into PCX files, as `zelvane MODEL --mag5 --textures` would.
//
// The first byte chooses: 'o' makes the rest an OBJ file, its text up to the
// first NUL byte, and after it the library a.mtl beside it; anything else
// makes the rest a glTF file. Reading must leave the store consistent,
// whether the model reads or not; a model that reads must be written, and
// the MAG5 file must load again with as many polygons. Anything else
// aborts, and so does every fault the sanitizers see.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "Files.h"
#include "ModelWriting.h"
#include "StoreCheck.h"
#include "TempFolder.h"
#include "driver/ModelLoading.h"
#include "mag5/Mag5Loader.h"
#include "mag5write/Mag5Writer.h"
#include "textures/TexturePreparation.h"

namespace {

using zelvane::MeshStore;
using zelvane::fuzz::fail;

struct Scratch {
    zelvane::test::TempFolder root{zelvane::test::memoryTemporaryFolder()};
    std::string out = root.file("out");

    Scratch() { std::filesystem::create_directory(out); }

    void empty() const {
        for (const auto& entry : std::filesystem::directory_iterator(root.path())) {
            if (entry.path() != out) {
                std::filesystem::remove(entry.path());
            }
        }
        for (const auto& entry : std::filesystem::directory_iterator(out)) {
            std::filesystem::remove(entry.path());
        }
    }
};

Scratch& scratch() {
    static Scratch folders;
    return folders;
}

// Writes the input's files; the model's path.
std::string writeInput(const uint8_t* data, size_t size) {
    const Scratch& folders = scratch();
    if (size > 0 && data[0] == 'o') {
        const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
        const size_t split = text.find('\0');
        zelvane::test::writeFile(folders.root.file("a.mtl"), split == std::string::npos ? "" : text.substr(split + 1));
        zelvane::test::writeFile(folders.root.file("m.obj"), text.substr(0, split));
        return folders.root.file("m.obj");
    }
    zelvane::test::writeFile(folders.root.file("m.gltf"),
                             std::vector<uint8_t>(data + (size > 0 ? 1 : 0), data + size));
    return folders.root.file("m.gltf");
}

zelvane::TextureFiles pcxFiles(const MeshStore& store, const zelvane::ModelLoad& loaded) {
    zelvane::TextureSearch search;
    search.pcx = true;
    search.outputFolder = scratch().out + "/";
    search.modelFolders.assign(store.textures.size(), scratch().root.path() + "/");
    search.sources.resize(store.textures.size());
    for (const auto& [texture, source] : loaded.textureSources) {
        search.sources.at(texture) = source;
    }
    std::vector<zelvane::TextureWarning> warnings;
    return zelvane::prepareTextureFiles(store, search, warnings);
}

void writeAndLoadAgain(const MeshStore& store, const zelvane::ModelLoad& loaded) {
    const std::string base = scratch().out + "/model";
    const zelvane::test::ModelWriting written =
        zelvane::test::writeModel(zelvane::kMag5Writer, store, base, pcxFiles(store, loaded));
    if (written.failure) {
        const bool refusal = written.failure->reason.find("texture name") != std::string::npos;
        if (!refusal) {
            fail("MAG5 output failed: " + written.failure->path + ": " + written.failure->reason);
        }
        return;
    }
    MeshStore again;
    const zelvane::LoadResult result = zelvane::loadMagFile(base + ".mag", again);
    if (result.error || again.polygons.size() != store.polygons.size()) {
        fail("the MAG5 file written does not load as the model: " + result.error.words);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string model = writeInput(data, size);
    MeshStore store;
    const zelvane::ModelLoad loaded = zelvane::loadModel(model, store);
    zelvane::fuzz::checkStore(store);
    if (loaded.error.empty() && zelvane::refuseNonFinitePositions(store, 0) == std::nullopt) {
        store.mergeDuplicates();
        store.groupByMaterial();
        writeAndLoadAgain(store, loaded);
    }
    scratch().empty();
    return 0;
}
